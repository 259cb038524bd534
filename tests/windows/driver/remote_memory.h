#pragma once
// Memory in another process's address space, for messages whose argument is a pointer: such
// pointers mean nothing across processes, so the driver places the data where the program can
// read it.

#include <windows.h>

#include <cstddef>

namespace quorvel::test_driver {

// `size` bytes in the process that owns `window`, freed on leaving.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, std::size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool ok() const { return address_ != nullptr; }
  LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
  template <class T>
  bool Write(const T& value) {
    return sizeof value <= size_ &&
           WriteProcessMemory(process_, address_, &value, sizeof value, nullptr) != FALSE;
  }
  template <class T>
  bool Read(T& value) const {
    return sizeof value <= size_ &&
           ReadProcessMemory(process_, address_, &value, sizeof value, nullptr) != FALSE;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  std::size_t size_;
};

}  // namespace quorvel::test_driver

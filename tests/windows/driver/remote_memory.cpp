#include "remote_memory.h"

namespace quorvel::test_driver {

RemoteBuffer::RemoteBuffer(HWND window, std::size_t size) : size_(size) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  process_ =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
  if (process_) {
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
}

RemoteBuffer::~RemoteBuffer() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

}  // namespace quorvel::test_driver

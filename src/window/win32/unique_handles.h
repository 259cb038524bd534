#pragma once
// Owners for the Win32 handles the window holds: each frees its handle exactly once.

#include <windows.h>

#include <utility>

namespace quorvel::win32 {

template <class Handle, class Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(Handle handle = nullptr) {
    if (handle_) Traits::Free(handle_);
    handle_ = handle;
  }
  Handle release() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

struct FontTraits {
  static void Free(HFONT font) { DeleteObject(font); }
};
struct IconTraits {
  static void Free(HICON icon) { DestroyIcon(icon); }
};
struct WindowTraits {
  static void Free(HWND window) { DestroyWindow(window); }
};
struct HookTraits {
  static void Free(HHOOK hook) { UnhookWindowsHookEx(hook); }
};
struct KernelHandleTraits {
  static void Free(HANDLE handle) { CloseHandle(handle); }
};

using UniqueFont = UniqueHandle<HFONT, FontTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueHook = UniqueHandle<HHOOK, HookTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

}  // namespace quorvel::win32

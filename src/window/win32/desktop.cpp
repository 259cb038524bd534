#include "window/win32/desktop.h"

#include "common/error.h"
#include "window/win32/queued_input.h"

namespace quorvel::win32 {

void Desktop::ShowMessage(const std::wstring& text, unsigned style,
                          const std::optional<std::wstring>& title) {
  MessageBoxOverDiscardedInput(owner_, text.c_str(), title ? title->c_str() : kApplicationTitle,
                               style);
}

void Desktop::SetMousePointer(int pointer) {
  pointer_.Set(pointer);
}

bool Desktop::SetWindowPos(NativeHandle window, NativeHandle insert_after, int x, int y, int cx,
                           int cy, unsigned flags) {
  return ::SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insert_after), x, y,
                        cx, cy, flags) != FALSE;
}

}  // namespace quorvel::win32

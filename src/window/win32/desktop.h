#pragma once
// Message boxes owned by the window, the application-wide pointer and window placement.

#include <windows.h>

#include "window/form_ports.h"
#include "window/win32/mouse_pointer.h"

namespace quorvel::win32 {

class Desktop final : public quorvel::Desktop {
 public:
  Desktop(HWND owner, MousePointer& pointer) : owner_(owner), pointer_(pointer) {}

  void ShowMessage(const std::wstring& text, unsigned style,
                   const std::optional<std::wstring>& title) override;
  void SetMousePointer(int pointer) override;
  bool SetWindowPos(NativeHandle window, NativeHandle insert_after, int x, int y, int cx, int cy,
                    unsigned flags) override;

 private:
  HWND owner_;
  MousePointer& pointer_;
};

}  // namespace quorvel::win32

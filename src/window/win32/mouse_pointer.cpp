#include "window/win32/mouse_pointer.h"

#include "window/form_ports.h"

namespace quorvel::win32 {

void MousePointer::Set(int pointer) {
  pointer_ = pointer == kHourglassPointer ? kHourglassPointer : kDefaultPointer;
  // The run that sets it pumps no messages, so WM_SETCURSOR would come too late.
  SetCursor(LoadCursorW(nullptr, pointer_ == kHourglassPointer ? IDC_WAIT : IDC_ARROW));
}

bool MousePointer::Apply() const {
  if (pointer_ != kHourglassPointer) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

}  // namespace quorvel::win32

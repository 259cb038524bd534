#pragma once
// The application-wide mouse pointer: while set to anything but the default it shows over
// every window of the program, whatever each control would show.

#include <windows.h>

namespace quorvel::win32 {

class MousePointer {
 public:
  // 0 default, 11 hourglass; any other value counts as the default. Applied at once.
  void Set(int pointer);
  // For WM_SETCURSOR: true when the application-wide pointer was shown.
  bool Apply() const;

 private:
  int pointer_ = 0;
};

}  // namespace quorvel::win32

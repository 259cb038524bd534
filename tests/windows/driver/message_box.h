#pragma once
// The program's message boxes seen from outside: found by class and process, read (title,
// text, icon) and answered with OK.

#include <windows.h>

#include <string>

#include "wait.h"

namespace quorvel::test_driver {

enum class BoxIcon { kNone, kStop, kExclamation, kInformation, kQuestion, kUnrecognised };

const wchar_t* NameOf(BoxIcon icon);

struct MessageBoxView {
  HWND box = nullptr;
  std::wstring title;
  std::wstring text;  // line breaks kept as the box has them
  BoxIcon icon = BoxIcon::kNone;
};

// A shown dialog-class window (#32770) of the process; null on timeout.
HWND WaitForMessageBox(DWORD process_id, Duration timeout = kDefaultTimeout);

// Title, text and icon. The icon is told by drawing each system icon the way the box draws
// it and comparing pixels with what is on screen: icon handles mean nothing across processes.
MessageBoxView ReadMessageBox(HWND box, Duration paint_timeout = Duration{3000});

// Presses OK (posted) and waits for the box to go; false when it stayed.
bool PressOk(HWND box, Duration timeout = kDefaultTimeout);

// Answers the box as a script does the moment it shows: its title and text taken without a
// message to its thread (its icon is not read), then OK clicked by a message sent to it; waits for
// the box to go. The box's loop gets no chance to run between the showing and the click.
MessageBoxView AnswerAtOnce(HWND box, Duration timeout = kDefaultTimeout);

// Waits for a box of the process, reads it and presses OK. An empty view on timeout.
MessageBoxView AnswerNextBox(DWORD process_id, Duration timeout = kDefaultTimeout);

// Presses OK on every box of the process that is up now; the number closed.
int CloseAllBoxes(DWORD process_id);

}  // namespace quorvel::test_driver

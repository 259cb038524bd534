#pragma once
// Acting on the program as a user would. Everything is posted or injected, never sent: a
// click that starts a run must not hold the driver while the run shows its modal boxes.

#include <windows.h>

namespace quorvel::test_driver {

// A key press into the window's focused control, as posted WM_KEYDOWN/WM_KEYUP: what the
// program's message loop (and its dialog-key handling) sees first. No modifier state.
void PostKey(HWND window, UINT virtual_key);

// A key press with optional Shift/Alt through the system's input queue, after bringing the
// window to the foreground. Returns false when the window could not be made foreground.
bool SendKey(HWND window, UINT virtual_key, bool shift = false, bool alt = false);

// A click on a button by a posted BM_CLICK.
void Click(HWND button);
// A click by posted mouse messages at the control's centre.
void ClickWithMouseMessages(HWND control);

// The system menu's Close, as the close box and Alt+F4 give it.
void CloseBySystemMenu(HWND window);

}  // namespace quorvel::test_driver

#include "window/win32/last_chance.h"

#include <string>

#include "window/win32/queued_input.h"

namespace quorvel::win32 {

namespace {

void Show(HWND owner, const ErrorRecord& error) noexcept {
  try {
    const std::wstring text =
        L"Run-time error " + std::to_wstring(error.number) + L": " + error.description;
    MessageBoxOverDiscardedInput(owner, text.c_str(), kApplicationTitle, MB_ICONERROR | MB_OK);
  } catch (...) {
    // Out of memory for the text: still tell the user something went wrong.
    MessageBoxOverDiscardedInput(owner, L"Run-time error", kApplicationTitle, MB_ICONERROR | MB_OK);
  }
}

}  // namespace

void ShowRunTimeError(HWND owner, const ErrorRecord& error) noexcept {
  // A window destroyed on the way here has posted its quit, and a box that found it queued would
  // close by itself. It waits while the box is up and is posted again for the loop it was for.
  MSG quit{};
  const bool quitting = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
  Show(owner, error);
  if (quitting) PostQuitMessage(static_cast<int>(quit.wParam));
}

}  // namespace quorvel::win32

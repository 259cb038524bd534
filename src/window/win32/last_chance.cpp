#include "window/win32/last_chance.h"

#include <string>

namespace quorvel::win32 {

void ShowRunTimeError(HWND owner, const ErrorRecord& error) noexcept {
  try {
    const std::wstring text =
        L"Run-time error " + std::to_wstring(error.number) + L": " + error.description;
    MessageBoxW(owner, text.c_str(), kApplicationTitle, MB_ICONERROR | MB_OK);
  } catch (...) {
    // Out of memory for the text: still tell the user something went wrong.
    MessageBoxW(owner, L"Run-time error", kApplicationTitle, MB_ICONERROR | MB_OK);
  }
}

}  // namespace quorvel::win32

#pragma once
// What is on screen inside a rectangle, saved as a 24-bit BMP file (the demo turns it into PNG).

#include <windows.h>

#include <string>

namespace quorvel::demo {

// False when the screen could not be read or the file not written.
bool SaveScreenRect(const RECT& rect, const std::wstring& path);
// The window's outer rectangle, frame and caption included.
bool SaveWindow(HWND window, const std::wstring& path);

}  // namespace quorvel::demo

#pragma once
// Where the window stands and how big it is: a client area of fixed twips at the window's
// DPI, the frame around it, centred in the work area of its monitor.

#include <windows.h>

namespace quorvel::win32 {

// The outer size of a window whose client area is `client_width` x `client_height` twips.
SIZE OuterSize(int client_width, int client_height, DWORD style, DWORD extended_style, UINT dpi);

// The top-left corner that centres `size` in `area` (clamped to its top-left corner).
POINT CentredIn(const RECT& area, SIZE size);

// The work area of the monitor nearest to the window.
RECT WorkAreaOf(HWND window);

}  // namespace quorvel::win32

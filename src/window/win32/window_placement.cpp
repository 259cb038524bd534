#include "window/win32/window_placement.h"

#include <algorithm>

#include "window/layout.h"

namespace quorvel::win32 {

SIZE OuterSize(int client_width, int client_height, DWORD style, DWORD extended_style, UINT dpi) {
  const int d = static_cast<int>(dpi);
  RECT rect{0, 0, layout::ToPixels(client_width, d), layout::ToPixels(client_height, d)};
  if (!AdjustWindowRectExForDpi(&rect, style, FALSE, extended_style, dpi)) {
    AdjustWindowRectEx(&rect, style, FALSE, extended_style);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

POINT CentredIn(const RECT& area, SIZE size) {
  const LONG x = area.left + (area.right - area.left - size.cx) / 2;
  const LONG y = area.top + (area.bottom - area.top - size.cy) / 2;
  return POINT{std::max(x, area.left), std::max(y, area.top)};
}

RECT WorkAreaOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) {
    return info.rcWork;
  }
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace quorvel::win32

#include "controls.h"

#include "window/layout.h"

namespace quorvel::test_driver {

HWND ControlById(HWND window, int id) {
  return GetDlgItem(window, id);
}

HWND ControlByName(HWND window, std::wstring_view name) {
  const auto control = layout::Find(name);
  return control ? ControlById(window, kFirstControlId + control->tab_index) : nullptr;
}

std::wstring Text(HWND window) {
  const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

LONG_PTR StyleOf(HWND window) {
  return GetWindowLongPtrW(window, GWL_STYLE);
}
LONG_PTR ExtendedStyleOf(HWND window) {
  return GetWindowLongPtrW(window, GWL_EXSTYLE);
}

RECT RectInContainer(HWND window, std::wstring_view name) {
  RECT rect{};
  const auto control = layout::Find(name);
  if (!control) return rect;
  GetWindowRect(ControlByName(window, name), &rect);
  POINT origin{0, 0};
  if (control->container.empty()) {
    ClientToScreen(window, &origin);
  } else {
    RECT container{};
    GetWindowRect(ControlByName(window, control->container), &container);
    origin = {container.left, container.top};
  }
  OffsetRect(&rect, -origin.x, -origin.y);
  return rect;
}

SIZE ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

LRESULT CheckState(HWND check_box) {
  return SendMessageW(check_box, BM_GETCHECK, 0, 0);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

}  // namespace quorvel::test_driver

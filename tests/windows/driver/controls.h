#pragma once
// Reading the program's window from outside: its controls by id or by layout name, and what
// a user sees of them.

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvel::test_driver {

inline constexpr int kFirstControlId = 1000;  // the program's ids: 1000 + tab index

HWND ControlById(HWND window, int id);
// By the name in the layout table; null when the table or the window has no such control.
HWND ControlByName(HWND window, std::wstring_view name);

std::wstring Text(HWND window);         // WM_GETTEXT, line breaks kept
std::wstring ClassOf(HWND window);      // e.g. "Button", "SysDateTimePick32"
LONG_PTR StyleOf(HWND window);          // GWL_STYLE
LONG_PTR ExtendedStyleOf(HWND window);  // GWL_EXSTYLE

// The control's outer rectangle from the inside top-left of its container, as the layout
// table measures it: the window's client area, or the frame control that holds it.
RECT RectInContainer(HWND window, std::wstring_view name);
SIZE ClientSize(HWND window);

// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
LRESULT CheckState(HWND check_box);

// The control that has the keyboard focus in the window's thread, if any.
HWND FocusOf(HWND window);

}  // namespace quorvel::test_driver

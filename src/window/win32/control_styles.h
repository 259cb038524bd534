#pragma once
// Which Win32 control stands for each kind in the layout table, and with which styles.

#include <windows.h>

#include <optional>

#include "window/layout.h"

namespace quorvel::win32 {

inline constexpr int kFirstControlId = 1000;  // a control's id is this plus its tab index

struct ControlStyle {
  const wchar_t* window_class;
  DWORD style;
  DWORD extended_style;
};

// `previous` is the control created just before, if any: a run of check boxes forms one
// group, so that only its first starts a new group for the dialog manager.
ControlStyle StyleFor(const layout::Control& control,
                      const std::optional<layout::Control>& previous);

inline int ControlId(const layout::Control& control) {
  return kFirstControlId + control.tab_index;
}

}  // namespace quorvel::win32

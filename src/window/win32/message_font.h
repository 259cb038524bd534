#pragma once
// The system's message font at a given DPI: the font every control of the window uses.

#include "window/win32/unique_handles.h"

namespace quorvel::win32 {

UniqueFont MakeMessageFont(UINT dpi);

}  // namespace quorvel::win32

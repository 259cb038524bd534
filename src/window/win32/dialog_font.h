#pragma once
// The classic dialog font, "MS Shell Dlg" 8 pt, at a given DPI: the font the window and every
// control use. The twips layout was made for its design (Windows maps the name to Microsoft
// Sans Serif); the system message font of current Windows, Segoe UI 9 pt, is too wide for it
// and cuts "Appointments processed".

#include "window/win32/unique_handles.h"

namespace quorvel::win32 {

// Its character height is 8 pt in pixels at `dpi`, as a dialog template's font gets it: 11 px at
// 96 DPI, 16 px at 144 DPI.
UniqueFont MakeDialogFont(UINT dpi);

}  // namespace quorvel::win32

#include "window/win32/dialog_font.h"

#include <cwchar>

#include "window/win32/system_failure.h"

namespace quorvel::win32 {

UniqueFont MakeDialogFont(UINT dpi) {
  LOGFONTW description{};
  description.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);  // negative: character height
  description.lfWeight = FW_NORMAL;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfOutPrecision = OUT_DEFAULT_PRECIS;
  description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  description.lfQuality = DEFAULT_QUALITY;
  description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  wcsncpy(description.lfFaceName, L"MS Shell Dlg", LF_FACESIZE - 1);
  UniqueFont font(CreateFontIndirectW(&description));
  // GDI sets no last error; a font that cannot be made means its objects have run out.
  if (!font) throw SystemFailure(L"CreateFontIndirect", ERROR_NOT_ENOUGH_MEMORY);
  return font;
}

}  // namespace quorvel::win32

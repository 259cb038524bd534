#include "window/win32/message_font.h"

#include "window/win32/system_failure.h"

namespace quorvel::win32 {

UniqueFont MakeMessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    // Older systems: the metrics at the system DPI, scaled to ours.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      throw SystemFailure(L"SystemParametersInfo");
    }
    const UINT system_dpi = GetDpiForSystem();
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                            static_cast<int>(system_dpi ? system_dpi : 96));
  }
  UniqueFont font(CreateFontIndirectW(&metrics.lfMessageFont));
  if (!font) throw SystemFailure(L"CreateFontIndirect");
  return font;
}

}  // namespace quorvel::win32

// The window at every DPI a user's display has: its twips in pixels, its icons at the sizes the
// DPI wants, and every one-line caption drawn whole, as the screen shows it.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>

#include "controls.h"
#include "program.h"
#include "program_under_test.h"
#include "remote_memory.h"
#include "screen_pixels.h"
#include "window/layout.h"

namespace quorvel::window_tests {
namespace {

using namespace test_driver;

struct DpiCase {
  UINT dpi;
  int icon_size;        // SM_CXICON at that DPI: the picture boxes' icons
  UINT started_at = 0;  // the DPI the program starts at, when the DPI changes while it runs
};

// 100 %, 125 %, 150 % and 200 %; and 150 % reached by moving to another display.
constexpr DpiCase kDpis[] = {{96, 32}, {120, 40}, {144, 48}, {192, 64}, {144, 48, 96}};

// The prefix's DPI, which each program reads as it starts, for as long as this lives; then the
// DPI the test run was given again.
class DesktopDpi {
 public:
  explicit DesktopDpi(DWORD dpi) : set_(Set(dpi)) {}
  ~DesktopDpi() {
    const char* run = std::getenv("QUORVEL_DPI");
    Set(run ? static_cast<DWORD>(std::atoi(run)) : 96);
  }
  DesktopDpi(const DesktopDpi&) = delete;
  DesktopDpi& operator=(const DesktopDpi&) = delete;
  bool set() const { return set_; }

 private:
  static bool Set(DWORD dpi) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                           &dpi, sizeof dpi) == ERROR_SUCCESS;
  }
  bool set_;
};

// The program file's icon as the system draws it at `size`, centred on the window's background
// in a box of the picture box's size; the best match of a pixel either way, as centring rounds.
std::size_t DifferencesFromIcon(const PixelGrid& shown, int icon_id, int size) {
  const std::wstring path = WindowsPath(ProgramPath());
  const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> file(
      LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), &FreeLibrary);
  if (!file) return shown.pixels.size();
  const std::unique_ptr<std::remove_pointer_t<HICON>, decltype(&DestroyIcon)> icon(
      static_cast<HICON>(
          LoadImageW(file.get(), MAKEINTRESOURCEW(icon_id), IMAGE_ICON, size, size, 0)),
      &DestroyIcon);
  std::size_t best = shown.pixels.size();
  for (int dx = -1; icon && dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy) {
      const PixelGrid drawn = DrawnPixels(shown.width, shown.height, [&](HDC dc) {
        const RECT all{0, 0, shown.width, shown.height};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        DrawIconEx(dc, (shown.width - size) / 2 + dx, (shown.height - size) / 2 + dy, icon.get(),
                   size, size, 0, nullptr, DI_NORMAL);
      });
      best = std::min(best, Differences(shown, drawn));
    }
  }
  return best;
}

// What the system sends a window moved to a display of another scale: the new DPI and the
// rectangle it suggests (here the window's own; the window sizes itself from the DPI).
bool SendDpiChange(HWND window, UINT dpi) {
  RECT suggested{};
  GetWindowRect(window, &suggested);
  RemoteBuffer buffer(window, sizeof suggested);
  DWORD_PTR result = 0;
  return buffer.ok() && buffer.Write(suggested) &&
         SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), buffer.address(),
                             SMTO_ABORTIFHUNG, 5000, &result);
}

RECT InClientArea(HWND window, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// What the control shows once its painting has settled: two looks a moment apart agree.
PixelGrid SettledLook(HWND window, HWND control) {
  // Painted now, not when the program gets round to it: a group box paints no inside of its own
  // and would show what stood there before.
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
  PixelGrid settled;
  WaitFor(
      [&] {
        RECT rect{};
        GetWindowRect(control, &rect);
        const PixelGrid first = ScreenPixels(rect);
        Sleep(150);
        const PixelGrid second = ScreenPixels(rect);
        if (first.pixels.empty() || first.pixels != second.pixels) return false;
        settled = second;
        return true;
      },
      Duration{5000});
  return settled;
}

// Text as the classic look draws it: black, and darker than any edge or shadow of a control.
bool Ink(std::uint32_t pixel) {
  return (pixel >> 16 & 0xFF) < 0x60 && (pixel >> 8 & 0xFF) < 0x60 && (pixel & 0xFF) < 0x60;
}

struct CaptionLook {
  RECT ink{};       // in the control, as laid out
  RECT wide_ink{};  // in the same control stretched over the client area's width
  int width = 0;    // of the control as laid out
};

// The control alone (its neighbours hidden, so no other text is in the way), first as laid
// out, then stretched to the client area's right edge and twice as high. A caption drawn whole
// looks the same both ways; one cut short, wrapped or clipped gains ink when stretched.
CaptionLook LookAtCaption(HWND window, HWND control) {
  for (const layout::Control& row : layout::kControls) {
    HWND other = ControlByName(window, row.name);
    if (other != control) ShowWindow(other, SW_HIDE);
  }
  ShowWindow(control, SW_SHOWNA);
  CaptionLook look;
  const PixelGrid laid_out = SettledLook(window, control);
  look.ink = InkBounds(laid_out, Ink);
  look.width = laid_out.width;

  const RECT rect = InClientArea(window, control);
  const SIZE client = ClientSize(window);
  const int height = std::min<int>(2 * (rect.bottom - rect.top), client.cy - rect.top);
  SetWindowPos(control, nullptr, rect.left, rect.top, client.cx - rect.left, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  look.wide_ink = InkBounds(SettledLook(window, control), Ink);
  SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(control, SW_HIDE);
  return look;
}

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

bool HasOneLineCaption(const layout::Control& row) {
  switch (row.kind) {
    case layout::Kind::kFrame:
    case layout::Kind::kCommandButton:
    case layout::Kind::kCheckBox:
      return true;
    case layout::Kind::kLabel:  // voortgang and Label1 start empty
      return !row.caption.empty();
    default:
      return false;
  }
}

class WindowAtDpi : public testing::TestWithParam<DpiCase> {};

TEST_P(WindowAtDpi, HasItsTwipsInPixelsIconsOfItsSizeAndEveryCaptionWhole) {
  const DpiCase dpi = GetParam();
  const DesktopDpi desktop(dpi.started_at ? dpi.started_at : dpi.dpi);
  ASSERT_TRUE(desktop.set()) << "LogPixels not written";
  const StartedProgram started = StartProgram();
  HWND window = started.window;
  ASSERT_NE(window, nullptr) << "the window did not show";
  if (dpi.started_at) ASSERT_TRUE(SendDpiChange(window, dpi.dpi));
  // GetDpiForWindow says nothing here: Wine answers it for another process's window with the
  // asking process's DPI. The client area's size in pixels tells.

  const auto px = [&](int twips) { return MulDiv(twips, static_cast<int>(dpi.dpi), 1440); };
  const SIZE client = ClientSize(window);
  EXPECT_EQ(client.cx, px(layout::kClientWidth));
  if (dpi.started_at) {
    // Wine keeps the title bar at the height of the DPI the program started at, while the
    // window's outer size is made for the new DPI: the client area comes out that much taller.
    EXPECT_GE(client.cy, px(layout::kClientHeight));
  } else {
    EXPECT_EQ(client.cy, px(layout::kClientHeight));
  }
  // Edge by edge from the client area's corner, so that controls meeting in twips meet on screen.
  for (const layout::Control& row : layout::kControls) {
    SCOPED_TRACE(std::string(row.name.begin(), row.name.end()));
    const layout::Rect twips = layout::InClientArea(row);
    const RECT r = InClientArea(window, ControlByName(window, row.name));
    EXPECT_EQ(r.left, px(twips.left));
    EXPECT_EQ(r.top, px(twips.top));
    EXPECT_EQ(r.right, px(twips.right()));
    EXPECT_EQ(r.bottom, px(twips.bottom()));
  }

  for (const layout::Control& row : layout::kControls) {
    if (row.icon == layout::Icon::kNone) continue;
    SCOPED_TRACE(std::string(row.name.begin(), row.name.end()));
    const PixelGrid shown = SettledLook(window, ControlByName(window, row.name));
    ASSERT_FALSE(shown.pixels.empty());
    const int id = row.icon == layout::Icon::kWindowIcon ? 1 : 2;
    EXPECT_LT(DifferencesFromIcon(shown, id, dpi.icon_size), shown.pixels.size() / 20)
        << "not the program's icon at " << dpi.icon_size << " px";
  }

  for (const layout::Control& row : layout::kControls) {
    if (!HasOneLineCaption(row)) continue;
    SCOPED_TRACE(std::string(row.name.begin(), row.name.end()));
    const CaptionLook look = LookAtCaption(window, ControlByName(window, row.name));
    ASSERT_GT(look.ink.right, look.ink.left) << "no caption drawn";
    const std::string where =
        "ink " + Describe(look.ink) + ", stretched " + Describe(look.wide_ink);
    EXPECT_EQ(look.ink.right - look.ink.left, look.wide_ink.right - look.wide_ink.left)
        << "cut short or wrapped: " << where;
    EXPECT_EQ(look.ink.bottom - look.ink.top, look.wide_ink.bottom - look.wide_ink.top)
        << "wrapped or clipped: " << where;
    EXPECT_LE(look.ink.right, look.width - 2) << "the caption runs into the control's edge";
  }
}

INSTANTIATE_TEST_SUITE_P(Dpis, WindowAtDpi, testing::ValuesIn(kDpis),
                         [](const testing::TestParamInfo<DpiCase>& info) {
                           const DpiCase& dpi = info.param;
                           return "Dpi" + std::to_string(dpi.dpi) +
                                  (dpi.started_at ? "From" + std::to_string(dpi.started_at) : "");
                         });

}  // namespace
}  // namespace quorvel::window_tests

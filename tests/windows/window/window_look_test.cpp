// The window as the user first sees it: frame, controls, texts, geometry and initial values.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "controls.h"
#include "program_under_test.h"
#include "remote_picker.h"
#include "window/layout.h"

namespace quorvel::window_tests {
namespace {

using namespace test_driver;

// One program for all of these: they only look.
class WindowLook : public testing::Test {
 protected:
  static void SetUpTestSuite() { started_ = new StartedProgram(StartProgram()); }
  static void TearDownTestSuite() {
    delete started_;
    started_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(window(), nullptr) << "the window did not show"; }

  static HWND window() { return started_->window; }
  static HWND control(std::wstring_view name) { return ControlByName(window(), name); }
  static UINT dpi() { return GetDpiForWindow(window()); }

  static StartedProgram* started_;
};
StartedProgram* WindowLook::started_ = nullptr;

std::wstring ExpectedClass(layout::Kind kind) {
  switch (kind) {
    case layout::Kind::kFrame:
    case layout::Kind::kCommandButton:
    case layout::Kind::kCheckBox:
      return L"Button";
    case layout::Kind::kLabel:
    case layout::Kind::kPictureBox:
      return L"Static";
    case layout::Kind::kTextBox:
      return L"Edit";
    case layout::Kind::kDatePicker:
      return L"SysDateTimePick32";
  }
  return L"";
}

// The client area and the controls' places at every DPI: window_dpi_test.cpp.
TEST_F(WindowLook, HasItsCaptionAndAClientAreaOf292By432PixelsAt96Dpi) {
  EXPECT_EQ(Text(window()), L"Import existing appointments");
  if (dpi() != 96) GTEST_SKIP() << "the desktop runs at " << dpi() << " dpi";
  const SIZE client = ClientSize(window());
  EXPECT_EQ(client.cx, 292);
  EXPECT_EQ(client.cy, 432);
}

TEST_F(WindowLook, OffersOnlyACloseBoxAndCannotBeResizedMinimisedOrMaximised) {
  const LONG_PTR style = StyleOf(window());
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_FALSE(style & WS_THICKFRAME) << "a sizing border";
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_EQ(GetMenu(window()), nullptr) << "the window has a menu";

  // The frame gives no sizing handle anywhere along its edges or corners.
  RECT outer{};
  GetWindowRect(window(), &outer);
  const POINT edges[] = {{outer.left, (outer.top + outer.bottom) / 2},
                         {outer.right - 1, (outer.top + outer.bottom) / 2},
                         {(outer.left + outer.right) / 2, outer.bottom - 1},
                         {outer.right - 1, outer.bottom - 1},
                         {outer.left, outer.top}};
  for (const POINT& at : edges) {
    const LRESULT hit = SendMessageW(window(), WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(hit < HTSIZEFIRST || hit > HTSIZELAST)
        << "hit test " << hit << " at " << at.x << "," << at.y;
  }

  // A double click on the caption, which maximises a sizable window, leaves this one as it is.
  const LPARAM on_caption = MAKELPARAM((outer.left + outer.right) / 2, outer.top + 8);
  ASSERT_EQ(SendMessageW(window(), WM_NCHITTEST, 0, on_caption), HTCAPTION);
  PostMessageW(window(), WM_NCLBUTTONDBLCLK, HTCAPTION, on_caption);
  Sleep(300);
  RECT after{};
  GetWindowRect(window(), &after);
  EXPECT_FALSE(IsZoomed(window()));
  EXPECT_EQ(after.right - after.left, outer.right - outer.left);
  EXPECT_EQ(after.bottom - after.top, outer.bottom - outer.top);
}

TEST_F(WindowLook, EveryControlHasItsClassAndCaptionInItsContainer) {
  for (const layout::Control& row : layout::kControls) {
    SCOPED_TRACE(std::string(row.name.begin(), row.name.end()));
    HWND c = control(row.name);
    ASSERT_NE(c, nullptr) << "no control with id " << kFirstControlId + row.tab_index;
    EXPECT_EQ(GetParent(c), window()) << "controls are children of the window itself";
    EXPECT_EQ(ClassOf(c), ExpectedClass(row.kind));
    if (row.kind != layout::Kind::kDatePicker && row.kind != layout::Kind::kPictureBox) {
      EXPECT_EQ(Text(c), std::wstring(row.caption));
    }
    EXPECT_TRUE(IsWindowVisible(c));
  }
}

TEST_F(WindowLook, ControlsStandWhereTheyAreMeantToAt96Dpi) {
  if (dpi() != 96) GTEST_SKIP() << "the desktop runs at " << dpi() << " dpi";
  const auto at = [&](std::wstring_view name) { return RectInContainer(window(), name); };
  // A few positions worked out by hand from the twips, container by container.
  EXPECT_EQ(at(L"Frame1").left, 1);
  EXPECT_EQ(at(L"Frame1").bottom, 377);
  EXPECT_EQ(at(L"Frame1").right, 290);
  EXPECT_EQ(at(L"cmdImport").left, 80);
  EXPECT_EQ(at(L"cmdImport").right, 193);
  EXPECT_EQ(at(L"Label1").top, 400);
  EXPECT_EQ(at(L"ChkBusy").top, 32);  // inside Frame2
  EXPECT_EQ(at(L"ChkFree").bottom, 33);
  // Frame2 itself is inside Frame1, so ChkBusy lies 8+8+1 px from the client area's left.
  RECT busy{};
  GetWindowRect(control(L"ChkBusy"), &busy);
  POINT origin{0, 0};
  ClientToScreen(window(), &origin);
  EXPECT_EQ(busy.left - origin.x, 17);
  EXPECT_EQ(busy.top - origin.y, 168);
}

TEST_F(WindowLook, ControlsHaveTheStylesOfTheirKind) {
  EXPECT_EQ(StyleOf(control(L"Frame1")) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(StyleOf(control(L"Frame2")) & BS_TYPEMASK, BS_GROUPBOX);
  // Not the default button: Enter elsewhere does not start an import.
  EXPECT_EQ(StyleOf(control(L"cmdImport")) & BS_TYPEMASK, BS_PUSHBUTTON);
  for (auto name : {L"ChkBusy", L"ChkFree", L"ChkOOF", L"ChkTentative"}) {
    EXPECT_EQ(StyleOf(control(name)) & BS_TYPEMASK, BS_AUTOCHECKBOX) << name;
  }
  EXPECT_TRUE(ExtendedStyleOf(control(L"Text1")) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(StyleOf(control(L"Text1")) & (ES_MULTILINE | ES_READONLY));
  EXPECT_TRUE(StyleOf(control(L"voortgang")) & SS_NOPREFIX) << "an & would vanish";
  EXPECT_EQ(StyleOf(control(L"voortgang")) & SS_TYPEMASK, SS_LEFT) << "left-aligned, wrapping";
  for (auto name : {L"Picture2", L"Picture3"}) {
    EXPECT_EQ(StyleOf(control(name)) & SS_TYPEMASK, SS_ICON) << name;
    EXPECT_NE(SendMessageW(control(name), STM_GETICON, 0, 0), 0) << name << " shows no icon";
  }
  EXPECT_EQ(StyleOf(control(L"DTPstartdatum")) & DTS_SHORTDATEFORMAT, DTS_SHORTDATEFORMAT);
}

TEST_F(WindowLook, StartsWithAllBoxesCheckedTheCountAtAHyphenAndNoProgressText) {
  for (auto name : {L"ChkBusy", L"ChkFree", L"ChkOOF", L"ChkTentative"}) {
    EXPECT_EQ(CheckState(control(name)), BST_CHECKED) << name;
  }
  EXPECT_EQ(Text(control(L"Text1")), L"-");
  EXPECT_EQ(Text(control(L"voortgang")), L"");
  EXPECT_EQ(Text(control(L"Label1")), L"");
}

TEST_F(WindowLook, BothPickersHoldTheMomentOfStartUp) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const auto start = PickerValue(control(L"DTPstartdatum"));
  const auto end = PickerValue(control(L"DTPeinddatum"));
  ASSERT_TRUE(start && end);
  // Read by the program a moment ago: the same day unless the test straddles midnight.
  if (now.wHour != 0 || now.wMinute != 0) {
    EXPECT_EQ(start->wYear, now.wYear);
    EXPECT_EQ(start->wMonth, now.wMonth);
    EXPECT_EQ(start->wDay, now.wDay);
    EXPECT_FALSE(start->wHour == 0 && start->wMinute == 0 && start->wSecond == 0)
        << "the time of day was dropped";
  }
  const auto key = [](const SYSTEMTIME& t) {
    return std::tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  };
  EXPECT_LE(key(*start), key(*end));
}

}  // namespace
}  // namespace quorvel::window_tests

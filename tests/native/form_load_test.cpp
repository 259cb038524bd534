#include <gtest/gtest.h>

#include "fakes/fake_window.h"

namespace quorvel {
namespace {

using fakes::TestBench;

TEST(FormLoad, PlacesTheWindowTopmostSetsBothPickersFromTwoClockReadsThenConnects) {
  TestBench bench;
  bench.window.clock_readings = {{2026, 12, 8, 14, 5, 30}, {2026, 12, 8, 14, 5, 31}};
  bench.form.Form_Load();
  ASSERT_EQ(bench.window.placements.size(), 1u);
  const auto& placed = bench.window.placements[0];
  EXPECT_EQ(placed.window, fakes::FakeWindow::kHandle);
  EXPECT_EQ(placed.insert_after, -1);
  EXPECT_EQ((std::vector<int>{placed.x, placed.y, placed.cx, placed.cy}),
            (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(placed.flags, 1u);
  EXPECT_EQ(bench.window.pickers[Picker::kStart], (DateTime{2026, 12, 8, 14, 5, 30}));
  EXPECT_EQ(bench.window.pickers[Picker::kEnd], (DateTime{2026, 12, 8, 14, 5, 31}));
  const std::vector<std::wstring> head(bench.log.calls.begin(), bench.log.calls.begin() + 7);
  EXPECT_EQ(head, (std::vector<std::wstring>{
                      L"Form.hWnd", L"SetWindowPos", L"Clock.Now", L"Form.DTPstartdatum=",
                      L"Clock.Now", L"Form.DTPeinddatum=", L"CreateObject(Outlook.Application)"}));
  EXPECT_TRUE(bench.form.objNamespace);
}

TEST(FormLoad, AFailureTheConnectionDoesNotHandleLeavesTheLoadStepAfterThePickersAreSet) {
  TestBench bench;
  bench.outlook.explorer_exists = false;
  bench.log.Fail(L"CreateObject(WScript.Shell)");
  EXPECT_THROW(bench.form.Form_Load(), Error);
  EXPECT_EQ(bench.window.pickers[Picker::kStart], bench.window.pickers[Picker::kEnd]);
}

TEST(FormLoad, AReportedConnectionFailureStillLeavesBothPickersSet) {
  TestBench bench;
  bench.outlook.registered = false;
  bench.form.Form_Load();
  EXPECT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.pickers[Picker::kStart], (DateTime{2026, 12, 8, 14, 5, 30}));
}

TEST(StartDateRule, SetsTheEndFiveCalendarDaysLaterKeepingTheTimeOfDay) {
  struct Case {
    DateTime start, end;
  } cases[] = {{{2027, 2, 28, 14, 5, 30}, {2027, 3, 5, 14, 5, 30}},
               {{2028, 2, 26, 9, 0, 0}, {2028, 3, 2, 9, 0, 0}},
               {{2026, 12, 29, 23, 59, 59}, {2027, 1, 3, 23, 59, 59}},
               {{9999, 12, 25, 10, 20, 30}, {9999, 12, 30, 10, 20, 30}}};
  for (const Case& c : cases) {
    TestBench bench;
    bench.window.pickers[Picker::kEnd] = {2030, 1, 1, 0, 0, 0};  // an end chosen first is replaced
    bench.window.pickers[Picker::kStart] = c.start;
    bench.form.DTPstartdatum_Change();
    EXPECT_EQ(bench.window.pickers[Picker::kEnd], c.end);
    EXPECT_EQ(bench.log.calls,
              (std::vector<std::wstring>{L"Form.DTPstartdatum", L"Form.DTPeinddatum="}));
  }
}

TEST(StartDateRule, StopsAtTheLastDayAPickerHolds) {
  TestBench bench;
  bench.window.pickers[Picker::kStart] = {9999, 12, 28, 10, 20, 30};
  bench.form.DTPstartdatum_Change();
  EXPECT_EQ(bench.window.pickers[Picker::kEnd], (DateTime{9999, 12, 31, 10, 20, 30}));
}

}  // namespace
}  // namespace quorvel

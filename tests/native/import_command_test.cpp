#include <gtest/gtest.h>

#include <optional>

#include "fakes/fake_window.h"
#include "touch/touch_texts.h"

namespace quorvel {
namespace {

using fakes::TestBench;

class ImportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bench.form.Form_Load();
    bench.Mark();
  }
  TestBench bench;
};

TEST_F(ImportCommandTest, BuildsTheBoundsFromTheShortDateRunsAndClosesWithTheFinishedBox) {
  bench.window.pickers[Picker::kStart] = {2026, 12, 7, 16, 0, 0};
  bench.window.pickers[Picker::kEnd] = {2026, 12, 12, 8, 0, 0};
  bench.outlook.Add(L"A", outlook::kNotRecurring, outlook::kBusy, true);
  bench.form.cmdImport_Click();
  EXPECT_EQ(bench.form.varStartdatum, L"7-12-2026 00:00 am");
  EXPECT_EQ(bench.form.varEinddatum, L"12-12-2026 23:59 pm");
  EXPECT_EQ(bench.outlook.restrict_filters.back(),
            L"[Start] >= '7-12-2026 00:00 am' and [Start] < '12-12-2026 23:59 pm'");
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].text, L"Import finished           ");
  EXPECT_EQ(bench.window.messages[0].text.size(), 26u);
  EXPECT_EQ(bench.window.messages[0].style, kInformation);
  EXPECT_EQ(bench.window.messages[0].title, L"Quorvel Import tool");
  EXPECT_EQ(bench.outlook.Find(L"A").saved_subjects.size(), 1u);
}

TEST_F(ImportCommandTest, RightAfterStartUpTheRunGoesAheadOverToday) {
  bench.form.cmdImport_Click();
  EXPECT_EQ(bench.form.varStartdatum, L"8-12-2026 00:00 am");
  EXPECT_EQ(bench.form.varEinddatum, L"8-12-2026 23:59 pm");
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].title, L"Quorvel Import tool");
}

TEST_F(ImportCommandTest, AReversedRangeIsRefusedByDateAndTimeOfDayKeepingTheBounds) {
  const DateTime start{2026, 12, 8, 14, 0, 0};
  for (const DateTime end : {DateTime{2026, 12, 7, 23, 0, 0}, DateTime{2026, 12, 8, 13, 59, 59}}) {
    TestBench local;
    local.form.Form_Load();
    local.outlook.Add(L"A", outlook::kNotRecurring, outlook::kBusy, true);
    local.window.pickers[Picker::kStart] = start;
    local.window.pickers[Picker::kEnd] = end;
    local.window.messages.clear();
    local.form.cmdImport_Click();
    ASSERT_EQ(local.window.messages.size(), 1u);
    EXPECT_EQ(local.window.messages[0].text,
              L"The end date should be later then the start date. Please select other dates.");
    EXPECT_EQ(local.window.messages[0].style, kCritical);
    EXPECT_FALSE(local.window.messages[0].title.has_value());
    EXPECT_EQ(local.log.CountOf(L"Namespace.GetDefaultFolder"), 0);
    EXPECT_TRUE(local.outlook.Find(L"A").saved_subjects.empty());
    EXPECT_EQ(local.form.varStartdatum, L"8-12-2026 00:00 am");
    EXPECT_EQ(local.form.varEinddatum, local.window.ShortDate(end) + L" 23:59 pm");
  }
}

TEST_F(ImportCommandTest, TheRegionalFormatIsReadAtEveryClick) {
  bench.window.pickers[Picker::kStart] = {2026, 3, 4, 9, 0, 0};
  bench.window.pickers[Picker::kEnd] = {2026, 3, 9, 9, 0, 0};
  bench.form.cmdImport_Click();
  EXPECT_EQ(bench.form.varStartdatum, L"4-3-2026 00:00 am");
  bench.window.short_date_pattern = L"MM/dd/yyyy";
  bench.form.cmdImport_Click();
  EXPECT_EQ(bench.form.varStartdatum, L"03/04/2026 00:00 am");
  EXPECT_EQ(bench.form.varEinddatum, L"03/09/2026 23:59 pm");
  bench.window.short_date_pattern = L"dd.MM.yy";
  bench.form.cmdImport_Click();
  EXPECT_EQ(bench.form.varEinddatum, L"09.03.26 23:59 pm");
}

// A bound stays as the short date writes it unless the locale would read it back as another
// date; then its year is written in full, then it is written as yyyy-MM-dd, and when none of
// those reads back as the picked day the range is left out and the user told. The rows are
// clicks on one window, each in the regional settings of its row.
TEST_F(ImportCommandTest, ABoundReadBackAsAnotherDateIsWrittenSoThatItReadsRightOrLeftOut) {
  struct Case {
    const wchar_t* pattern;
    DateTime picked;
    const wchar_t* lower_bound;
    int calendar_year_offset = 0;
    int latest_year_read = 9999;
    const wchar_t* unreadable = nullptr;   // the bound the outcome box names; none: filtered
    std::optional<DateTime> end = {};      // none: the picked day
    const wchar_t* upper_bound = nullptr;  // none: the lower bound's date
  };
  const Case cases[] = {
      {L"M/d/yy", {2051, 3, 12, 9, 0, 0}, L"3/12/2051 00:00 am"},
      {L"M/d/yy", {1949, 3, 12, 9, 0, 0}, L"3/12/1949 00:00 am"},
      {L"M/d/yy", {2049, 3, 12, 9, 0, 0}, L"3/12/49 00:00 am"},
      {L"M/d/yy", {1950, 3, 12, 9, 0, 0}, L"3/12/50 00:00 am"},
      {L"d-M-yyyy", {2051, 3, 12, 9, 0, 0}, L"12-3-2051 00:00 am"},
      {L"dd.MM.yyyy", {2051, 3, 12, 9, 0, 0}, L"12.03.2051 00:00 am"},
      {L"yyyy-MM-dd", {2051, 3, 12, 9, 0, 0}, L"2051-03-12 00:00 am"},
      {L"MM-yyyy", {2026, 12, 14, 9, 0, 0}, L"2026-12-14 00:00 am"},        // read as 1 December
      {L"d/M/yyyy", {2026, 12, 14, 9, 0, 0}, L"2026-12-14 00:00 am", 543},  // Thai Buddhist
      {L"d/M/yyyy",
       {2026, 12, 14, 9, 0, 0},
       L"14/12/2569 00:00 am",
       543,
       0,
       L"14/12/2569 00:00 am"},
      // The format mended, the next click filters the range again.
      {L"d-M-yyyy", {2026, 12, 14, 9, 0, 0}, L"14-12-2026 00:00 am"},
      // The start reads back, the end does not: the box names the end.
      {L"d-M-yyyy",
       {2026, 12, 28, 9, 0, 0},
       L"28-12-2026 00:00 am",
       0,
       2026,
       L"2-1-2027 23:59 pm",
       DateTime{2027, 1, 2, 9, 0, 0},
       L"2-1-2027 23:59 pm"},
  };
  for (const Case& c : cases) {
    bench.window.short_date_pattern = c.pattern;
    bench.window.calendar_year_offset = c.calendar_year_offset;
    bench.window.latest_year_read = c.latest_year_read;
    bench.window.messages.clear();
    const std::size_t filters = bench.outlook.restrict_filters.size();
    bench.window.pickers[Picker::kStart] = c.picked;
    bench.window.pickers[Picker::kEnd] = c.end.value_or(c.picked);
    bench.form.cmdImport_Click();
    std::wstring upper_bound = c.lower_bound;
    upper_bound.replace(upper_bound.size() - 9, 9, L" 23:59 pm");
    EXPECT_EQ(bench.form.varStartdatum, c.lower_bound) << c.pattern;
    EXPECT_EQ(bench.form.varEinddatum, c.upper_bound ? c.upper_bound : upper_bound) << c.pattern;
    const bool filtered = c.unreadable == nullptr;
    EXPECT_EQ(bench.window.messages.size(), filtered ? 1u : 2u) << c.lower_bound;
    if (!filtered) {
      EXPECT_EQ(
          bench.window.messages.front().text,
          std::wstring(touch::kOutcomeHeadline) + L"\n\n" + touch::RangeUnreadable(c.unreadable));
    }
    EXPECT_EQ(bench.outlook.restrict_filters.size(), filters + (filtered ? 1 : 0)) << c.lower_bound;
  }
}

TEST(DatePicture, EveryYearFieldIsWrittenInFullAndQuotedTextIsKept) {
  EXPECT_EQ(WithFullYear(L"M/d/yy"), L"M/d/yyyy");
  EXPECT_EQ(WithFullYear(L"d-M-y"), L"d-M-yyyy");
  EXPECT_EQ(WithFullYear(L"yyyy-MM-dd"), L"yyyy-MM-dd");
  EXPECT_EQ(WithFullYear(L"dd 'yy' yy"), L"dd 'yy' yyyy");
  EXPECT_EQ(WithFullYear(L"d 'o''y' yy"), L"d 'o''y' yyyy");
}

TEST_F(ImportCommandTest, WithoutOutlookARunShowsTheItemsBoxThenTheFinishedBox) {
  TestBench local;
  local.outlook.registered = false;
  local.form.Form_Load();
  local.window.messages.clear();
  local.form.cmdImport_Click();
  ASSERT_EQ(local.window.messages.size(), 2u);
  EXPECT_EQ(local.window.messages[0].text,
            L"error 91 - Object variable or With block variable not set");
  EXPECT_EQ(local.window.messages[1].text, L"Import finished           ");
}

TEST_F(ImportCommandTest, AFailingPickerReadLeavesTheHandlerAndKeepsWhatWasStored) {
  bench.form.cmdImport_Click();
  bench.log.Fail(L"Form.DTPeinddatum");
  bench.window.pickers[Picker::kStart] = {2027, 1, 2, 0, 0, 0};
  EXPECT_THROW(bench.form.cmdImport_Click(), Error);
  EXPECT_EQ(bench.form.varStartdatum, L"2-1-2027 00:00 am");
  EXPECT_EQ(bench.form.varEinddatum, L"8-12-2026 23:59 pm");
}

}  // namespace
}  // namespace quorvel

// Whole runs under different regional short date formats: the bounds the program writes into
// its filter must be read back by Outlook as the same days, whatever the user's format.

#include <gtest/gtest.h>

#include "import_run_fixture.h"

namespace quorvel::endtoend {
namespace {

using namespace test_driver;

StandinStore TwoWeeksOfAppointments() {
  StandinStore store;
  // One appointment a day at 09:00 from 1 to 14 December, and one at midnight on the 10th.
  for (int day = 1; day <= 14; ++day) {
    store.items.push_back(MakeItem("d" + std::to_string(day), {2026, 12, day, 9, 0, 0}));
  }
  store.items.push_back(MakeItem("midnight10", {2026, 12, 10, 0, 0, 0}));
  return store;
}

std::set<std::string> SavedIds(const std::wstring& store) {
  std::set<std::string> ids;
  for (const auto& [id, subjects] : SavesById(store)) ids.insert(id);
  return ids;
}

TEST_F(ImportRun, TheRangeHoldsExactlyTheChosenDaysUnderEveryShortDateFormat) {
  ShortDateFormat restore;
  for (const wchar_t* format : {L"M/d/yyyy", L"d-M-yyyy", L"dd.MM.yyyy", L"dd/MM/yyyy"}) {
    SCOPED_TRACE(format);
    ShortDateFormat::Set(format);
    Start(TwoWeeksOfAppointments());
    SetRange(Moment(2026, 12, 3, 12, 0, 0), Moment(2026, 12, 10, 12, 0, 0));
    const auto boxes = ClickStartImport();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().text, kFinished);
    const std::set<std::string> expected{"d3", "d4", "d5",  "d6",        "d7",
                                         "d8", "d9", "d10", "midnight10"};
    EXPECT_EQ(SavedIds(store_), expected);
    EXPECT_EQ(Text(ControlByName(window_, L"Text1")), L"9");
    Close();
  }
}

TEST_F(ImportRun, AFormatChangedBetweenTwoClicksShowsInTheSecondRun) {
  ShortDateFormat restore;
  ShortDateFormat::Set(L"M/d/yyyy");
  Start(TwoWeeksOfAppointments());
  SetRange(Moment(2026, 12, 2, 8, 0, 0), Moment(2026, 12, 3, 8, 0, 0));
  ClickStartImport();
  EXPECT_EQ(SavedIds(store_), (std::set<std::string>{"d2", "d3"}));
  // Under d-M-yyyy the first click's texts would read as 12 February and 12 March.
  ShortDateFormat::Set(L"d-M-yyyy");
  SetRange(Moment(2026, 12, 5, 8, 0, 0), Moment(2026, 12, 5, 8, 0, 0));
  const auto boxes = ClickStartImport();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back().text, kFinished);
  EXPECT_EQ(SavedIds(store_), (std::set<std::string>{"d2", "d3", "d5"}));
}

}  // namespace
}  // namespace quorvel::endtoend

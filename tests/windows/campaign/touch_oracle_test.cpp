// The campaign's model must itself be right, or every run it judges is judged wrongly: the
// rules of the two passes, worked through on small calendars by hand.

#include <gtest/gtest.h>

#include "scenario.h"
#include "touch_oracle.h"

namespace quorvel::campaign {
namespace {

const ErrorRecord kAborted{-2147467260, L"Operation aborted", L"Microsoft Outlook"};
const ErrorRecord kDenied{-2147024891, L"Access is denied.", L"Outlook stand-in"};

StandinItem Item(std::string id, DateTime start, int busy = 2, int recurrence = 0) {
  StandinItem item;
  item.subject = std::wstring(id.begin(), id.end());
  item.id = std::move(id);
  item.start = start;
  item.busy = busy;
  item.recurrence = recurrence;
  return item;
}

// The range 7 to 12 December 2026, the pickers at odd times of day that must not matter.
ExpectedRun Predict(const std::vector<StandinItem>& items,
                    std::array<bool, 4> boxes = {true, true, true, true}) {
  return PredictRun({items, {2026, 12, 7, 15, 30, 0}, {2026, 12, 12, 8, 0, 0}, boxes});
}

TEST(TouchOracle, RecurringAppointmentsAreTouchedInBothPassesWhenInRange) {
  const auto run = Predict({
      Item("master", {2026, 12, 8, 10, 0, 0}, 2, 1),    // recurring, in range: twice
      Item("exception", {2026, 6, 1, 9, 0, 0}, 2, 3),   // recurring, outside: once
      Item("occurrence", {2026, 6, 2, 9, 0, 0}, 2, 2),  // neither: never looked at
      Item("single", {2026, 12, 9, 9, 0, 0}, 2, 0),     // in range: once
  });
  const std::vector<SavedSubject> saves{{"master", L"master "},
                                        {"exception", L"exception "},
                                        {"master", L"master  "},
                                        {"single", L"single "}};
  EXPECT_EQ(run.saves, saves);
  EXPECT_EQ(run.count, 4);  // two recurring in the first pass, two of the range
  EXPECT_EQ(run.failed_hand_overs, 0);
}

TEST(TouchOracle, TheRangeRunsFromTheFirstMidnightToJustBeforeTheLastDaysEnd) {
  EXPECT_TRUE(InRange({2026, 12, 7, 0, 0, 0}, {2026, 12, 7, 15, 0, 0}, {2026, 12, 12, 1, 0, 0}));
  EXPECT_FALSE(InRange({2026, 12, 6, 23, 59, 0}, {2026, 12, 7, 0, 0, 0}, {2026, 12, 12, 0, 0, 0}));
  EXPECT_TRUE(InRange({2026, 12, 12, 23, 58, 0}, {2026, 12, 7, 0, 0, 0}, {2026, 12, 12, 0, 0, 0}));
  EXPECT_FALSE(InRange({2026, 12, 12, 23, 59, 0}, {2026, 12, 7, 0, 0, 0}, {2026, 12, 12, 0, 0, 0}));
  EXPECT_TRUE(InRange({2026, 12, 7, 12, 0, 0}, {2026, 12, 7, 0, 0, 0}, {2026, 12, 7, 0, 0, 0}));
}

TEST(TouchOracle, TheRangeIsWalkedInOrderOfStartAndUnchosenOnesAreCountedNotSaved) {
  const auto run = Predict(
      {
          Item("late", {2026, 12, 11, 9, 0, 0}, 1),
          Item("free", {2026, 12, 10, 9, 0, 0}, 0),  // Free unticked
          Item("early", {2026, 12, 8, 9, 0, 0}, 3),
          Item("working", {2026, 12, 9, 9, 0, 0}, 4),  // no box matches
      },
      {false, true, true, true});
  const std::vector<SavedSubject> saves{{"early", L"early "}, {"late", L"late "}};
  EXPECT_EQ(run.saves, saves);
  EXPECT_EQ(run.count, 4);
}

TEST(TouchOracle, AnUnreadableBusyStatusIsCountedButNeverSavedAnUnreadableRecurrenceIsRecurring) {
  StandinItem busy_unreadable = Item("busy", {2026, 12, 8, 9, 0, 0}, 2, 1);
  busy_unreadable.failures["BusyStatus"] = kAborted;
  StandinItem recurrence_unreadable = Item("recurrence", {2026, 6, 1, 9, 0, 0}, 2, 0);
  recurrence_unreadable.failures["RecurrenceState"] = kAborted;
  const auto run = Predict({busy_unreadable, recurrence_unreadable});
  const std::vector<SavedSubject> saves{{"recurrence", L"recurrence "}};
  EXPECT_EQ(run.saves, saves);
  EXPECT_EQ(run.count, 3);  // both in the first pass, the busy one again in the range
  EXPECT_EQ(run.failed_hand_overs, 0);
}

TEST(TouchOracle, AFailedTouchStillSavesAFailedSaveKeepsTheStoreAndBothAreTold) {
  StandinItem unreadable = Item("read", {2026, 12, 8, 9, 0, 0});
  unreadable.failures["Subject"] = kDenied;
  StandinItem unwritable = Item("write", {2026, 12, 9, 9, 0, 0});
  unwritable.failures["Subject.put"] = kAborted;
  // Recurring and in range: the first save fails, so the second pass appends to the old one.
  StandinItem locked = Item("locked", {2026, 12, 10, 9, 0, 0}, 2, 1);
  locked.failures["Save"] = kDenied;
  locked.failures["Subject.put"] = kAborted;
  StandinItem start_unreadable = Item("start", {2026, 12, 11, 9, 0, 0});
  start_unreadable.failures["Start"] = kAborted;  // shown only in the progress text

  auto run = Predict({unreadable, unwritable, locked, start_unreadable});
  const std::vector<SavedSubject> saves{
      {"read", L"read"}, {"write", L"write"}, {"start", L"start "}};
  EXPECT_EQ(run.saves, saves);
  EXPECT_EQ(run.failed_hand_overs, 4);  // the locked one in each pass
  ASSERT_TRUE(run.last_failure);
  EXPECT_EQ(*run.last_failure, kDenied);  // the save's failure outranks the write's

  unwritable.start = {2026, 12, 11, 12, 0, 0};  // now after the locked one in the range
  run = Predict({locked, unwritable});
  EXPECT_EQ(*run.last_failure, kAborted);  // the last failure wins, whatever came before
}

TEST(TouchOracle, ANonAppointmentIsPassedOverAndTheWalkGoesOn) {
  StandinItem request = Item("request", {2026, 12, 8, 9, 0, 0}, 2, 1);
  request.item_class = kMeetingRequestClass;
  const auto run = Predict({request, Item("after", {2026, 12, 9, 9, 0, 0}, 2, 1)});
  const std::vector<SavedSubject> saves{{"after", L"after "}, {"after", L"after  "}};
  EXPECT_EQ(run.saves, saves);
  EXPECT_EQ(run.count, 2);
}

TEST(TouchOracle, TheWarningTextIsExact) {
  EXPECT_EQ(HandOverWarningText(3, kAborted),
            L"Not all appointments could be handed over: 3 could not be saved.\n\n"
            L"nr.: -2147467260\nDescr: Operation aborted\nSource: Microsoft Outlook");
}

}  // namespace
}  // namespace quorvel::campaign

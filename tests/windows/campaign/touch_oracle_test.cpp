// The campaign's model must itself be right, or every run it judges is judged wrongly: the
// rules of the two passes, worked through on small calendars by hand.

#include <gtest/gtest.h>

#include <set>

#include "common/com/com_error.h"
#include "outcome_box.h"
#include "scenario.h"
#include "touch/touch_texts.h"
#include "touch_oracle.h"

namespace quorvel::campaign {
namespace {

const ErrorRecord kAborted{-2147467260, L"Operation aborted", L"Microsoft Outlook"};
const ErrorRecord kDenied{-2147024891, L"Access is denied.", L"Outlook stand-in"};
const ErrorRecord kGone{-2147023174, L"The RPC server is unavailable.", L"Outlook stand-in"};
const std::map<std::string, ErrorRecord> kNoCollectionFaults;
using test_driver::OutcomeText;

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
                    std::array<bool, 4> boxes = {true, true, true, true},
                    const std::map<std::string, ErrorRecord>& collection = kNoCollectionFaults,
                    Host host = Host::kInProcess) {
  return PredictRun(
      {items, {2026, 12, 7, 15, 30, 0}, {2026, 12, 12, 8, 0, 0}, boxes, collection, host});
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
  EXPECT_TRUE(run.outcome.empty());
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
  EXPECT_TRUE(run.outcome.empty());
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
  // The locked one fails in both passes and is one appointment not saved; the save's failure
  // outranks its write's.
  EXPECT_EQ(run.outcome, OutcomeText({{touch::AppointmentsNotSaved(1), kDenied},
                                      {touch::SubjectsNotChanged(2), kDenied}}));
}

TEST(TouchOracle, ANonAppointmentIsPassedOverAndTheWalkGoesOn) {
  StandinItem request = Item("request", {2026, 12, 8, 9, 0, 0}, 2, 1);
  request.item_class = kMeetingRequestClass;
  const auto run = Predict({request, Item("after", {2026, 12, 9, 9, 0, 0}, 2, 1)});
  const std::vector<SavedSubject> saves{{"after", L"after "}, {"after", L"after  "}};
  EXPECT_EQ(run.saves, saves);
  EXPECT_EQ(run.count, 2);
}

// A calendar of four in its own order: a recurring one in the range, a recurring one outside
// it, and two singles in the range that sorting puts the other way round.
TEST(TouchOracle, EachKindOfUndoneWorkIsAccountedWhereTheRunMeetsIt) {
  struct Case {
    const char* name;
    std::map<std::string, std::map<std::string, ErrorRecord>> item_faults;
    std::map<std::string, ErrorRecord> collection_faults;
    std::vector<SavedSubject> saves;
    std::int32_t count;
    std::vector<std::pair<std::wstring, ErrorRecord>> outcome;
    std::map<Undone, std::size_t> undone;  // kind -> saves made before it was accounted
    Host host = Host::kInProcess;
  };
  const ErrorRecord status_only =
      com::ErrorFromStatus(static_cast<HRESULT>(kGone.number), nullptr, IID_IEnumVARIANT).record();
  const SavedSubject a1{"A", L"A "}, a2{"A", L"A  "}, d1{"D", L"D "}, b1{"B", L"B "},
      c1{"C", L"C "};
  const std::vector<Case> cases{
      {"nothing undone", {}, {}, {a1, d1, a2, b1, c1}, 5, {}, {}},
      {"fetch fails outside the range",
       {{"D", {{"Fetch", kGone}}}},
       {},
       {a1, a2, b1, c1},
       4,
       {{touch::PassCutShort(true, 1), kGone}},
       {{Undone::kRecurringPassCutShort, 1}}},
      {"fetch fails across processes: the status alone",
       {{"D", {{"Fetch", kGone}}}},
       {},
       {a1, a2, b1, c1},
       4,
       {{touch::PassCutShort(true, 1), status_only}},
       {{Undone::kRecurringPassCutShort, 1}},
       Host::kLocalServer},
      {"fetch fails in the range: both passes cut short",
       {{"B", {{"Fetch", kDenied}}}},
       {},
       {a1, d1, a2},
       3,
       {{touch::PassCutShort(true, 3), kDenied}, {touch::PassCutShort(false, 1), kDenied}},
       {{Undone::kRecurringPassCutShort, 2}, {Undone::kRangePassCutShort, 3}}},
      {"kind unreadable in the range: met in both passes, counted once",
       {{"C", {{"Class", kAborted}}}},
       {},
       {a1, d1, a2, b1},
       4,
       {{touch::ElementsUnexaminable(1), kAborted}},
       {{Undone::kUnexaminable, 2}}},
      {"range not filtered",
       {},
       {{"restrict", kDenied}},
       {a1, d1},
       2,
       {{touch::RangeNotFiltered(false), kDenied}},
       {{Undone::kRangeNotFound, 2}}},
      {"range not counted",
       {},
       {{"count", kAborted}},
       {a1, d1},
       2,
       {{touch::RangeNotFiltered(true), kAborted}},
       {{Undone::kRangeNotCounted, 2}}},
      {"range not sorted: the calendar's own order",
       {},
       {{"sort", kAborted}},
       {a1, d1, a2, c1, b1},
       5,
       {{touch::kRangeNotSorted, kAborted}},
       {{Undone::kRangeNotSorted, 2}}},
      {"one appointment failing in both passes counted once",
       {{"A", {{"Save", kDenied}}}},
       {},
       {d1, b1, c1},
       5,
       {{touch::AppointmentsNotSaved(1), kDenied}},
       {{Undone::kNotSaved, 0}}},
      {"several at once",
       {{"B", {{"Subject.put", kDenied}}}, {"D", {{"Class", kGone}}}},
       {{"sort", kAborted}},
       {a1, a2, c1, {"B", L"B"}},
       4,
       {{touch::SubjectsNotChanged(1), kDenied},
        {touch::kRangeNotSorted, kAborted},
        {touch::ElementsUnexaminable(1), kGone}},
       {{Undone::kUnexaminable, 1}, {Undone::kRangeNotSorted, 1}, {Undone::kSubjectNotChanged, 4}}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    std::vector<StandinItem> items{
        Item("A", {2026, 12, 8, 10, 0, 0}, 2, 1), Item("D", {2026, 6, 1, 9, 0, 0}, 2, 3),
        Item("C", {2026, 12, 10, 9, 0, 0}), Item("B", {2026, 12, 9, 9, 0, 0})};
    for (StandinItem& item : items) {
      if (test.item_faults.count(item.id)) item.failures = test.item_faults.at(item.id);
    }
    const auto run = Predict(items, {true, true, true, true}, test.collection_faults, test.host);
    EXPECT_EQ(run.saves, test.saves);
    EXPECT_EQ(run.count, test.count);
    EXPECT_EQ(run.outcome, test.outcome.empty() ? std::wstring() : OutcomeText(test.outcome));
    EXPECT_EQ(run.undone, test.undone);
    // The box's text read back names the kinds the model holds, with nothing left over.
    std::vector<OutcomeSection> sections;
    EXPECT_EQ(ReadOutcome(run.outcome, 10, sections), !test.undone.empty());
    std::set<Undone> named, wanted;
    for (const auto& section : sections) named.insert(section.kind);
    for (const auto& [kind, saves] : test.undone) wanted.insert(kind);
    EXPECT_EQ(named, wanted);
  }
}

TEST(TouchOracle, AnOutcomeBoxIsReadOnlyInTheProgramsOwnWording) {
  std::vector<OutcomeSection> sections;
  const std::wstring box = OutcomeText({{touch::PassCutShort(false, 12), kGone}});
  ASSERT_TRUE(ReadOutcome(box, 20, sections));
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0].kind, Undone::kRangePassCutShort);
  EXPECT_EQ(sections[0].number, 12);
  EXPECT_EQ(sections[0].error_lines, touch::ErrorLines(kGone));
  EXPECT_FALSE(ReadOutcome(box, 11, sections));  // a count beyond what the calendar holds
  EXPECT_FALSE(ReadOutcome(OutcomeText({{L"3 appointments went astray.", kGone}}), 20, sections));
  EXPECT_FALSE(ReadOutcome(L"Import finished           ", 20, sections));
}

}  // namespace
}  // namespace quorvel::campaign

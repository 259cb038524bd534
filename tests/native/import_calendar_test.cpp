#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes/fake_window.h"

namespace quorvel {
namespace {

using fakes::TestBench;
using outlook::kBusy;
using outlook::kException;
using outlook::kFree;
using outlook::kNotRecurring;
using outlook::kOccurrence;
using outlook::kOutOfOffice;
using outlook::kSeriesMaster;
using outlook::kTentative;

const ErrorRecord kAborted{-2147467260, L"Operation aborted", L"Microsoft Outlook"};
const ErrorRecord kGone{-2147023174, L"The RPC server is unavailable.", L""};

class ImportCalendarTest : public ::testing::Test {
 public:
  // The calendar opened the way the calendar run opens it, with the bounds of a click.
  void Run() {
    if (!bench.form.objAgenda && open_calendar) {
      auto app = bench.outlook.factory().CreateApplication(L"Outlook.Application");
      bench.form.objAgenda = app->GetNamespace(L"MAPI")->GetDefaultFolder(9);
    }
    bench.form.strAgendaOwner = L"Mailbox - Anna de Vries";
    bench.form.varStartdatum = L"8-12-2026 00:00 am";
    bench.form.varEinddatum = L"12-12-2026 23:59 pm";
    bench.Mark();
    FormTestAccess::ImportCalendar(bench.form);
  }
  std::vector<std::wstring> Saves() const {
    std::vector<std::wstring> saves;
    for (const auto& call : bench.CallsSinceMark()) {
      if (call.ends_with(L".Save")) saves.push_back(call.substr(0, call.size() - 5));
    }
    return saves;
  }
  fakes::FakeElement& Item(const wchar_t* id) { return bench.outlook.Find(id); }
  // The n-th call of one kind in the run (counting both passes) fails; earlier such wishes hold.
  void FailNth(const std::wstring& key, int n, ErrorRecord error = kGone) {
    bench.log.on_call = [key, n, error, calls = 0,
                         before = bench.log.on_call](const std::wstring& call) mutable {
      if (before) before(call);
      if (call == key && ++calls == n) throw Error(error);
    };
  }

  TestBench bench;
  bool open_calendar = true;
};

TEST_F(ImportCalendarTest, AnEmptyCalendarChangesNothingShown) {
  Run();
  EXPECT_TRUE(bench.window.progress_history.empty());
  EXPECT_EQ(bench.window.text1, L"-");
  EXPECT_EQ(bench.window.refreshes, 0);
  EXPECT_TRUE(bench.window.messages.empty());
  EXPECT_EQ(bench.log.CountOf(L"RangeItems.Sort([Start])"), 0);  // ended at the empty test
}

TEST_F(ImportCalendarTest, PassOneTouchesChosenMastersAndExceptionsOnly) {
  bench.outlook.Add(L"single", kNotRecurring);
  bench.outlook.Add(L"master", kSeriesMaster);
  bench.outlook.Add(L"occurrence", kOccurrence);
  bench.outlook.Add(L"exception", kException);
  Run();
  EXPECT_EQ(Saves(), (std::vector<std::wstring>{L"master", L"exception"}));
  EXPECT_EQ(Item(L"master").saved_subjects, std::vector<std::wstring>{L"Subject master "});
  EXPECT_EQ(bench.window.text1, L"2");  // recurring ones counted, nothing else
  // The progress text is shown after every element, recurring or not.
  EXPECT_EQ(
      std::count_if(bench.window.progress_history.begin(), bench.window.progress_history.end(),
                    [](const auto& t) { return t.starts_with(L"Looking for"); }),
      4);
}

TEST_F(ImportCalendarTest, PassOneStepsComeInTheirOrder) {
  bench.outlook.Add(L"A", kSeriesMaster, kBusy).start = {2026, 12, 9, 14, 30, 0};
  Run();
  const std::vector<std::wstring> expected{
      L"Folder.Items",
      L"CalendarItems.Enumerate",
      L"Items.Next",
      L"A.RecurrenceState",
      L"A.BusyStatus",
      L"Form.CheckBox",
      L"Form.CheckBox",
      L"Form.CheckBox",
      L"Form.CheckBox",
      L"A.Subject",
      L"A.Subject=",
      L"Form.voortgang=Processing...",
      L"Form.Refresh",
      L"A.Save",
      L"Form.Text1=1",
      L"A.Subject",
      L"A.Start",
      L"Formats.ShortDate",
      L"Form.voortgang=Looking for recurring events in calendar of Mailbox - Anna de Vries : \n\n"
      L"Subject A  \n\n9-12-2026 14:30:00",
      L"Form.Refresh",
      L"Items.Next",
      L"CalendarItems.Restrict",
      L"RangeItems.Count"};
  EXPECT_EQ(bench.CallsSinceMark(), expected);
}

TEST_F(ImportCalendarTest, PassTwoStepsComeInTheirOrderAndShowTheSubjectBeforeTheTouch) {
  bench.outlook.Add(L"B", kNotRecurring, kFree, /*in_range=*/true).start = {2026, 12, 10, 0, 0, 0};
  Run();
  std::vector<std::wstring> calls = bench.CallsSinceMark();
  const auto sort = std::find(calls.begin(), calls.end(), L"RangeItems.Sort([Start])");
  ASSERT_NE(sort, calls.end());
  const std::vector<std::wstring> expected{
      L"RangeItems.Sort([Start])", L"RangeItems.Enumerate", L"Items.Next", L"B.Subject", L"B.Start",
      L"Formats.ShortDate",
      L"Form.voortgang=Mailbox - Anna de Vries : \n\nSubject B \n\n10-12-2026",  // midnight: date
                                                                                 // only
      L"Form.Refresh", L"B.BusyStatus", L"Form.CheckBox", L"Form.CheckBox", L"Form.CheckBox",
      L"Form.CheckBox", L"B.Subject", L"B.Subject=", L"B.Save", L"Form.Text1=1", L"Items.Next"};
  EXPECT_EQ(std::vector<std::wstring>(sort, calls.end()), expected);
}

TEST_F(ImportCalendarTest, TheRangeFilterCarriesTheBoundsVerbatim) {
  bench.outlook.Add(L"A");
  Run();
  ASSERT_EQ(bench.outlook.restrict_filters.size(), 1u);
  EXPECT_EQ(bench.outlook.restrict_filters[0],
            L"[Start] >= '8-12-2026 00:00 am' and [Start] < '12-12-2026 23:59 pm'");
}

TEST_F(ImportCalendarTest, PassTwoRunsInOrderOfStartAndCountsEveryAppointmentOfTheRange) {
  bench.outlook.Add(L"late", kNotRecurring, kBusy, true).start = {2026, 12, 11, 9, 0, 0};
  bench.outlook.Add(L"early", kNotRecurring, kFree, true).start = {2026, 12, 8, 9, 0, 0};
  bench.outlook.Add(L"outside", kNotRecurring, kBusy, false);
  bench.window.boxes[CheckBox::kFree] = kUnchecked;
  Run();
  EXPECT_EQ(Saves(), std::vector<std::wstring>{L"late"});
  EXPECT_EQ(bench.window.text1, L"2");
  EXPECT_TRUE(bench.window.progress_history.back().find(L"Subject late") != std::wstring::npos);
}

TEST_F(ImportCalendarTest, AChosenRecurringAppointmentOfTheRangeGainsTwoBlanks) {
  bench.outlook.Add(L"M", kSeriesMaster, kTentative, true);
  Run();
  EXPECT_EQ(Item(L"M").saved_subjects, (std::vector<std::wstring>{L"Subject M ", L"Subject M  "}));
  EXPECT_EQ(bench.window.text1, L"2");
}

TEST_F(ImportCalendarTest, WithNoBoxCheckedNothingIsTouchedButEverythingIsCounted) {
  for (auto& [box, value] : bench.window.boxes) value = kUnchecked;
  bench.outlook.Add(L"M", kSeriesMaster, kBusy, true);
  bench.outlook.Add(L"S", kNotRecurring, kFree, true);
  Run();
  EXPECT_TRUE(Saves().empty());
  EXPECT_EQ(bench.log.CountOf(L"M.Subject="), 0);
  EXPECT_EQ(bench.window.text1, L"3");
}

TEST_F(ImportCalendarTest, ABoxChangedDuringTheRunCountsFromTheNextEvaluation) {
  bench.outlook.Add(L"A", kNotRecurring, kBusy, true);
  bench.outlook.Add(L"B", kNotRecurring, kBusy, true).start = {2026, 12, 9, 9, 0, 0};
  bench.log.on_call = [&](const std::wstring& call) {
    if (call == L"A.Save") bench.window.boxes[CheckBox::kBusy] = kUnchecked;
  };
  Run();
  EXPECT_EQ(Saves(), std::vector<std::wstring>{L"A"});
}

TEST_F(ImportCalendarTest, ASecondRunCountsAfreshFromOne) {
  bench.outlook.Add(L"A", kSeriesMaster);
  Run();
  Run();
  const auto calls = bench.CallsSinceMark();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), L"Form.Text1=1"), 1);
  EXPECT_EQ(bench.window.text1, L"1");
  EXPECT_EQ(Item(L"A").saved_subjects.back(), L"Subject A  ");  // every run appends again
}

// --- The one reported failure: the calendar's items cannot be had.

TEST_F(ImportCalendarTest, WithoutACalendarOnlyTheErrorBoxIsShown) {
  open_calendar = false;
  Run();
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].text,
            L"error 91 - Object variable or With block variable not set");
  EXPECT_EQ(bench.window.messages[0].style, kOkOnly);
  EXPECT_FALSE(bench.window.messages[0].title.has_value());
  EXPECT_TRUE(bench.window.progress_history.empty());
  EXPECT_EQ(bench.window.text1, L"-");
}

TEST_F(ImportCalendarTest, AFailingItemsMemberIsReportedWithItsNegativeNumber) {
  bench.outlook.Add(L"A", kSeriesMaster);
  bench.log.Fail(L"Folder.Items",
                 {-2147221233, L"The attempted operation failed. An object could not be found.",
                  L"Microsoft Outlook"});
  Run();
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].text,
            L"error -2147221233 - The attempted operation failed. An object could not be found.");
  EXPECT_TRUE(Saves().empty());
}

TEST_F(ImportCalendarTest, AFolderWithoutItemsIsReportedAsAMissingObject) {
  bench.outlook.items_exist = false;
  Run();
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].text.substr(0, 11), L"error 91 - ");
}

// --- The continue rule, step by step.

TEST_F(ImportCalendarTest, AFailedRecurrenceTestGoesOnToTheSelectionTest) {
  bench.outlook.Add(L"A", kNotRecurring, kBusy);
  bench.log.Fail(L"A.RecurrenceState");
  Run();
  EXPECT_EQ(Saves(), std::vector<std::wstring>{L"A"});
  EXPECT_EQ(bench.window.text1, L"1");
}

TEST_F(ImportCalendarTest, AnAppointmentWhoseBusyStatusCannotBeReadIsCountedButNotTouched) {
  bench.outlook.Add(L"M", kSeriesMaster, kBusy, true);
  bench.log.Fail(L"M.BusyStatus");
  Run();
  EXPECT_TRUE(Saves().empty());
  EXPECT_EQ(bench.log.CountOf(L"M.Subject="), 0);
  EXPECT_EQ(bench.window.text1, L"2");
  EXPECT_TRUE(bench.window.messages.empty());
}

TEST_F(ImportCalendarTest, AWarningFollowsAlsoARunThatEndsAtTheEmptyTest) {
  bench.outlook.Add(L"A", kSeriesMaster, kBusy, false);
  bench.log.Fail(L"A.Save", kAborted);
  Run();
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].style, kExclamation);
}

TEST_F(ImportCalendarTest, AProgressTextThatCannotBeBuiltKeepsThePreviousCaption) {
  bench.outlook.Add(L"A", kNotRecurring);
  bench.outlook.Add(L"B", kNotRecurring);
  bench.log.Fail(L"B.Start");
  Run();
  ASSERT_EQ(bench.window.progress_history.size(), 1u);
  EXPECT_NE(bench.window.progress.find(L"Subject A"), std::wstring::npos);
  EXPECT_EQ(bench.window.refreshes, 2);  // the repaint still follows
}

TEST_F(ImportCalendarTest, AFailedAdvanceEndsPassOneAndTheRangeStepsFollow) {
  bench.outlook.Add(L"A", kSeriesMaster, kBusy, true);
  bench.outlook.Add(L"B", kSeriesMaster, kBusy, false);
  FailNth(L"Items.Next", 2);
  Run();
  EXPECT_EQ(Saves(), (std::vector<std::wstring>{L"A", L"A"}));  // B never reached; A in pass 2
}

TEST_F(ImportCalendarTest, AFailedRestrictOrCountEndsTheCallWithoutPassTwo) {
  for (const wchar_t* failing : {L"CalendarItems.Restrict", L"RangeItems.Count"}) {
    TestBench local;
    local.outlook.Add(L"A", kNotRecurring, kBusy, true);
    local.log.Fail(failing);
    auto app = local.outlook.factory().CreateApplication(L"Outlook.Application");
    local.form.objAgenda = app->GetNamespace(L"MAPI")->GetDefaultFolder(9);
    FormTestAccess::ImportCalendar(local.form);
    EXPECT_TRUE(local.outlook.Find(L"A").saved_subjects.empty()) << std::wstring(failing);
    EXPECT_EQ(local.log.CountOf(L"RangeItems.Enumerate"), 0);
  }
}

TEST_F(ImportCalendarTest, AFailedSortLeavesPassTwoInTheCollectionsOrder) {
  bench.outlook.Add(L"late", kNotRecurring, kBusy, true).start = {2026, 12, 11, 9, 0, 0};
  bench.outlook.Add(L"early", kNotRecurring, kBusy, true).start = {2026, 12, 8, 9, 0, 0};
  bench.log.Fail(L"RangeItems.Sort([Start])");
  Run();
  EXPECT_EQ(Saves(), (std::vector<std::wstring>{L"late", L"early"}));
}

TEST_F(ImportCalendarTest, AFailedCountDisplayDoesNotStopTheRun) {
  bench.outlook.Add(L"A", kNotRecurring, kBusy, true);
  bench.outlook.Add(L"B", kNotRecurring, kBusy, true);
  bench.log.Fail(L"Form.Text1=1");
  Run();
  EXPECT_EQ(bench.window.text1, L"2");
  EXPECT_EQ(Saves().size(), 2u);
}

// --- The outcome box: one account of all the work a run left undone.

struct OutcomeCase {
  const char* name;
  std::function<void(ImportCalendarTest&)> arrange;
  std::wstring box;  // empty: no box at all
};

class RunOutcomeTest : public ImportCalendarTest,
                       public ::testing::WithParamInterface<OutcomeCase> {};

const ErrorRecord kDenied{-2147024891, L"Access is denied.", L"Microsoft Outlook"};
const ErrorRecord kUnparsable{-2147352567, L"Cannot parse condition. Error at \"'3/12/51\".",
                              L"Microsoft Outlook"};
const std::wstring kHeadline = L"Not all of this import could be done.\n\n";

std::wstring Lines(const ErrorRecord& e) {
  return L"\nnr.: " + std::to_wstring(e.number) + L"\nDescr: " + e.description + L"\nSource: " +
         e.source;
}

// M is a chosen master inside the range (met by both passes), S a single inside it, R a
// master outside it.
void ThreeAppointments(ImportCalendarTest& t) {
  t.bench.outlook.Add(L"M", kSeriesMaster, kBusy, true);
  t.bench.outlook.Add(L"S", kNotRecurring, kBusy, true).start = {2026, 12, 9, 9, 0, 0};
  t.bench.outlook.Add(L"R", kSeriesMaster, kBusy, false);
}

const OutcomeCase kOutcomes[] = {
    {"CleanRun", ThreeAppointments, L""},
    {"FailedSaveInBothPassesCountsOnce",
     [](auto& t) {
       ThreeAppointments(t);
       t.bench.log.Fail(L"M.Save", kAborted);
     },
     kHeadline + L"1 appointment could not be saved." + Lines(kAborted)},
    {"SubjectFailuresApartFromSaveFailures",
     [](auto& t) {
       ThreeAppointments(t);
       t.bench.log.Fail(L"M.Subject=", kDenied);
       t.bench.log.Fail(L"S.Subject=", kAborted);
       t.bench.log.Fail(L"R.Save", kAborted);
     },
     kHeadline + L"1 appointment could not be saved." + Lines(kAborted) + L"\n\n" +
         L"2 appointments could not be handed over: the subject could not be changed." +
         Lines(kDenied)},
    {"SubjectAndSaveFailingTogetherCountAsNotSaved",
     [](auto& t) {
       ThreeAppointments(t);
       t.bench.log.Fail(L"R.Subject=", kDenied);
       t.bench.log.Fail(L"R.Save", kAborted);
     },
     kHeadline + L"1 appointment could not be saved." + Lines(kAborted)},
    {"SubjectInPassOneThenSaveInPassTwoCountOnceAsNotSaved",
     [](auto& t) {
       ThreeAppointments(t);
       t.FailNth(L"M.Subject=", 1, kDenied);
       t.FailNth(L"M.Save", 2, kAborted);
     },
     kHeadline + L"1 appointment could not be saved." + Lines(kAborted)},
    {"FetchFailsInPassOne",
     [](auto& t) {
       ThreeAppointments(t);
       t.FailNth(L"Items.Next", 2);
     },
     kHeadline +
         L"The pass over the recurring appointments stopped after 1 element: the next one "
         L"could not be fetched. The rest of that pass was not done." +
         Lines(kGone)},
    {"PassTwoCannotStart",
     [](auto& t) {
       ThreeAppointments(t);
       t.bench.log.Fail(L"RangeItems.Enumerate", kGone);
     },
     kHeadline +
         L"The pass over the date range stopped after 0 elements: the next one could not be "
         L"fetched. The rest of that pass was not done." +
         Lines(kGone)},
    {"RestrictFails",
     [](auto& t) {
       ThreeAppointments(t);
       t.bench.log.Fail(L"CalendarItems.Restrict", kUnparsable);
     },
     kHeadline +
         L"The appointments of the date range could not be found, so none of them was handed "
         L"over." +
         Lines(kUnparsable)},
    {"CountFails",
     [](auto& t) {
       ThreeAppointments(t);
       t.bench.log.Fail(L"RangeItems.Count", kAborted);
     },
     kHeadline +
         L"The appointments of the date range could not be counted, so none of them was "
         L"handed over." +
         Lines(kAborted)},
    {"SortFails",
     [](auto& t) {
       ThreeAppointments(t);
       t.bench.log.Fail(L"RangeItems.Sort([Start])", kAborted);
     },
     kHeadline +
         L"The appointments of the date range could not be sorted, so they were handed over "
         L"in Outlook's own order." +
         Lines(kAborted)},
    {"KindsThatCannotBeRead",
     [](auto& t) {
       // odd1 lies in the range: both passes meet it, and it counts once.
       t.bench.outlook.Add(L"odd1", kSeriesMaster, kBusy, true).kind_error = kAborted;
       ThreeAppointments(t);
       t.bench.outlook.Add(L"odd2", kSeriesMaster).kind_error = kDenied;
     },
     kHeadline +
         L"2 elements of the calendar could not be examined (the kind could not be read) and "
         L"were left alone." +
         Lines(kAborted)},
    {"SeveralAtOnceInAFixedOrder",
     [](auto& t) {
       t.bench.outlook.Add(L"odd", kSeriesMaster).kind_error = kDenied;
       ThreeAppointments(t);
       t.bench.log.Fail(L"R.Save", kAborted);
       t.bench.log.Fail(L"CalendarItems.Restrict", kUnparsable);
     },
     kHeadline + L"1 appointment could not be saved." + Lines(kAborted) + L"\n\n" +
         L"The appointments of the date range could not be found, so none of them was handed "
         L"over." +
         Lines(kUnparsable) + L"\n\n" +
         L"1 element of the calendar could not be examined (the kind could not be read) and "
         L"was left alone." +
         Lines(kDenied)},
};

TEST_P(RunOutcomeTest, OneBoxTellsEveryKindOfUndoneWorkAndACleanRunShowsNone) {
  GetParam().arrange(*this);
  Run();
  if (GetParam().box.empty()) {
    EXPECT_TRUE(bench.window.messages.empty());
    EXPECT_EQ(std::count_if(bench.log.calls.begin(), bench.log.calls.end(),
                            [](const auto& c) { return c.ends_with(L".EntryID"); }),
              0);  // a clean run pays nothing for the account
    return;
  }
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].text, GetParam().box);
  EXPECT_EQ(bench.window.messages[0].style, kExclamation);
  EXPECT_FALSE(bench.window.messages[0].title.has_value());
  EXPECT_EQ(bench.log.calls.back(), L"MsgBox");  // the very last thing the call does
}

INSTANTIATE_TEST_SUITE_P(Kinds, RunOutcomeTest, ::testing::ValuesIn(kOutcomes),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Elements that are not appointments, and calendars past the 16-bit count.

TEST_F(ImportCalendarTest, AMeetingRequestIsPassedOverInBothPasses) {
  bench.outlook.Add(L"A", kSeriesMaster, kBusy, true);
  bench.outlook.AddMeetingRequest(L"request", true);
  bench.outlook.Add(L"B", kSeriesMaster, kBusy, true).start = {2026, 12, 9, 9, 0, 0};
  Run();
  EXPECT_EQ(Saves(), (std::vector<std::wstring>{L"A", L"B", L"A", L"B"}));
  EXPECT_EQ(bench.window.text1, L"4");
  EXPECT_TRUE(Item(L"request").saved_subjects.empty());
  EXPECT_EQ(bench.window.progress_history.size(), 2u + 2u + 2u);  // 2 x Processing..., 2 + 2 texts
}

TEST_F(ImportCalendarTest, TheCountGoesOnPast32767) {
  for (int i = 0; i < 40000; ++i)
    bench.outlook.Add(L"i" + std::to_wstring(i), kNotRecurring, kBusy, true);
  for (auto& [box, value] : bench.window.boxes) value = kUnchecked;
  Run();
  EXPECT_EQ(bench.window.text1, L"40000");
}

}  // namespace
}  // namespace quorvel

// Whole import runs as a user makes them: the program started beside the stand-in Outlook
// (in process; the outcome runs also across processes, beside its Outlook.exe), the dates and
// boxes set in its window, "Start import" clicked, every box read and answered, and then the
// stand-in's journal read to see what was really saved.

#include <tuple>

#include "common/com/com_error.h"
#include "import_run_fixture.h"

namespace quorvel::endtoend {

std::vector<OutcomeCase> OutcomeCases(Host host) {
  const ErrorRecord denied{-2147024891, L"Access is denied.", L"Outlook stand-in"};
  const SYSTEMTIME from = Moment(2026, 12, 7, 15, 0, 0), to = Moment(2026, 12, 12, 15, 0, 0);
  std::vector<OutcomeCase> runs;

  OutcomeCase& restrict = runs.emplace_back(
      OutcomeCase{"a range Outlook cannot filter", L"M/d/yyyy", {}, from, to, {}, {}});
  restrict.store.items = {MakeItem("master", {2026, 12, 8, 10, 0, 0}, 2, 1),
                          MakeItem("single", {2026, 12, 9, 9, 0, 0})};
  restrict.store.failures["restrict"] = denied;
  restrict.saves = {{"master", {"Subject master "}}};
  restrict.outcome = OutcomeText({{touch::RangeNotFiltered(false), denied}});

  // The element after the first cannot be fetched: the rest of the first pass is lost, the
  // range is not.
  OutcomeCase& fetch = runs.emplace_back(
      OutcomeCase{"a fetch failing in the first pass", L"M/d/yyyy", {}, from, to, {}, {}});
  StandinItem unfetchable = MakeItem("unfetchable", {2026, 6, 1, 9, 0, 0}, 2, 1);
  unfetchable.failures["Fetch"] = kAborted;
  fetch.store.items = {MakeItem("master", {2026, 12, 8, 10, 0, 0}, 2, 1), unfetchable,
                       MakeItem("unreached", {2026, 6, 2, 9, 0, 0}, 2, 1),
                       MakeItem("single", {2026, 12, 9, 9, 0, 0})};
  fetch.saves = {{"master", {"Subject master ", "Subject master  "}},
                 {"single", {"Subject single "}}};
  // Across processes Wine carries no error information back from a failed enumerator call, so
  // the user sees the status in the program's own words.
  const ErrorRecord fetch_seen =
      host == Host::kInProcess
          ? kAborted
          : com::ErrorFromStatus(static_cast<HRESULT>(kAborted.number), nullptr, IID_IEnumVARIANT)
                .record();
  fetch.outcome = OutcomeText({{touch::PassCutShort(true, 1), fetch_seen}});

  OutcomeCase& kind = runs.emplace_back(
      OutcomeCase{"an element whose kind cannot be read", L"M/d/yyyy", {}, from, to, {}, {}});
  StandinItem unexaminable = MakeItem("unexaminable", {2026, 6, 1, 9, 0, 0}, 2, 1);
  unexaminable.failures["Class"] = denied;
  kind.store.items = {unexaminable, MakeItem("master", {2026, 12, 8, 10, 0, 0}, 2, 1)};
  kind.saves = {{"master", {"Subject master ", "Subject master  "}}};
  kind.outcome = OutcomeText({{touch::ElementsUnexaminable(1), denied}});

  // Both fail in each pass and are told once, each under what failed.
  OutcomeCase& twice = runs.emplace_back(OutcomeCase{
      "appointments failing in both passes, counted once", L"M/d/yyyy", {}, from, to, {}, {}});
  StandinItem locked = MakeItem("locked", {2026, 12, 8, 10, 0, 0}, 2, 1);
  locked.failures["Save"] = kAborted;
  StandinItem fixed = MakeItem("fixed", {2026, 12, 9, 10, 0, 0}, 2, 3);
  fixed.failures["Subject.put"] = denied;
  twice.store.items = {locked, fixed};
  twice.saves = {{"fixed", {"Subject fixed", "Subject fixed"}}};
  twice.outcome = OutcomeText(
      {{touch::AppointmentsNotSaved(1), kAborted}, {touch::SubjectsNotChanged(1), denied}});

  // Under M/d/yy a bound in 2051 written with two digits would be read as 1951.
  OutcomeCase& century = runs.emplace_back(OutcomeCase{"M/d/yy with a range in 2051",
                                                       L"M/d/yy",
                                                       {},
                                                       Moment(2051, 3, 12, 15, 0, 0),
                                                       Moment(2051, 3, 14, 8, 0, 0),
                                                       {},
                                                       {}});
  century.store.items = {
      MakeItem("before", {2051, 3, 11, 23, 59, 0}), MakeItem("first", {2051, 3, 12, 0, 0, 0}),
      MakeItem("last", {2051, 3, 14, 23, 58, 0}), MakeItem("after", {2051, 3, 14, 23, 59, 0}),
      MakeItem("century_earlier", {1951, 3, 13, 9, 0, 0})};
  century.saves = {{"first", {"Subject first "}}, {"last", {"Subject last "}}};

  // Runs long enough to be typed or clicked into on any machine (100 appointments, each save
  // 10 ms: over a second; 400 in process without the wait were at times done within 100 ms)
  // with one that cannot be saved, so that two boxes follow the work and each must wait for
  // the user.
  const int appointments = 100;
  for (const auto& [name, meanwhile] :
       {std::pair{"Enter typed during the run", Meanwhile::kTypeEnter},
        std::pair{"a click sent during the run", Meanwhile::kSendClick}}) {
    OutcomeCase& run =
        runs.emplace_back(OutcomeCase{name, L"M/d/yyyy", {}, from, to, {}, {}, meanwhile});
    run.store.save_latency_ms = 10;
    for (int i = 0; i < appointments; ++i) {
      const std::string id = "a" + std::to_string(i);
      run.store.items.push_back(MakeItem(id, {2026, 12, 8 + i % 4, 8 + i / 60, i % 60, 0}));
      run.saves[id] = {"Subject " + id + " "};
    }
    StandinItem locked = MakeItem("locked", {2026, 12, 9, 7, 0, 0});
    locked.failures["Save"] = kAborted;
    run.store.items.push_back(locked);
    run.outcome = OutcomeText({{touch::AppointmentsNotSaved(1), kAborted}});
  }

  // Asked to close or to end the session at each moment of a run whose two boxes are answered
  // the moment they show, as a script answers them; the run's length does not matter here.
  for (const auto& [name, meanwhile] :
       {std::pair{"a close posted before the first box", Meanwhile::kPostCloseBeforeTheBoxes},
        std::pair{"a close posted while the first box is up",
                  Meanwhile::kPostCloseDuringTheFirstBox},
        std::pair{"a close posted while the last box is up", Meanwhile::kPostCloseDuringTheLastBox},
        std::pair{"the end of the session asked for while each box is up",
                  Meanwhile::kAskToEndTheSession}}) {
    OutcomeCase& run =
        runs.emplace_back(OutcomeCase{name, L"M/d/yyyy", {}, from, to, {}, {}, meanwhile});
    StandinItem locked = MakeItem("locked", {2026, 12, 9, 7, 0, 0});
    locked.failures["Save"] = kAborted;
    run.store.items = {MakeItem("first", {2026, 12, 8, 9, 0, 0}), locked,
                       MakeItem("last", {2026, 12, 10, 9, 0, 0})};
    run.saves = {{"first", {"Subject first "}}, {"last", {"Subject last "}}};
    run.outcome = OutcomeText({{touch::AppointmentsNotSaved(1), kAborted}});
  }
  return runs;
}

namespace {

TEST_F(ImportRun, TouchesExactlyTheChosenAppointmentsAndTellsWhatCouldNotBeSaved) {
  StandinStore store;
  store.items.push_back(MakeItem("master", {2026, 12, 8, 10, 0, 0}, 2, 1));   // recurring, in range
  store.items.push_back(MakeItem("exception", {2026, 6, 1, 9, 0, 0}, 3, 3));  // recurring, outside
  store.items.push_back(MakeItem("lower", {2026, 12, 7, 0, 0, 0}, 2));        // at the lower bound
  StandinItem request = MakeItem("request", {2026, 12, 8, 11, 0, 0});
  request.item_class = 53;  // a meeting request
  store.items.push_back(request);
  store.items.push_back(MakeItem("free", {2026, 12, 9, 9, 0, 0}, 0));  // Free: unticked below
  store.items.push_back(MakeItem("tentative", {2026, 12, 10, 9, 0, 0}, 1));
  StandinItem unreadable = MakeItem("unreadable", {2026, 12, 10, 10, 0, 0}, 2);
  unreadable.failures["BusyStatus"] = kAborted;
  store.items.push_back(unreadable);
  StandinItem locked = MakeItem("locked", {2026, 12, 11, 9, 0, 0}, 2);
  locked.failures["Save"] = kAborted;
  store.items.push_back(locked);
  store.items.push_back(MakeItem("upper", {2026, 12, 12, 23, 59, 0}, 2));  // at the upper bound
  store.items.push_back(MakeItem("after", {2026, 12, 13, 9, 0, 0}, 2));
  store.items.push_back(
      MakeItem("occurrence", {2026, 12, 9, 12, 0, 0}, 2, 2));  // in range, not a master
  Start(store);
  ASSERT_TRUE(startup_box_.text.empty()) << "unexpected start-up box: " << startup_box_.text;

  SetRange(Moment(2026, 12, 7, 15, 0, 0), Moment(2026, 12, 12, 15, 0, 0));
  Click(ControlByName(window_, L"ChkFree"));  // Free unticked
  ASSERT_TRUE(
      WaitFor([&] { return CheckState(ControlByName(window_, L"ChkFree")) == BST_UNCHECKED; },
              Duration{5000}));

  const auto boxes = ClickStartImport();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, OutcomeText({{touch::AppointmentsNotSaved(1), kAborted}}));
  EXPECT_EQ(boxes[0].title, L"QuorvelImport");
  EXPECT_EQ(boxes[0].icon, BoxIcon::kExclamation);
  EXPECT_EQ(boxes[1].text, kFinished);
  EXPECT_EQ(boxes[1].title, L"Quorvel Import tool");
  EXPECT_EQ(boxes[1].icon, BoxIcon::kInformation);

  const auto saves = SavesById(store_);
  const std::map<std::string, std::vector<std::string>> expected{
      {"master", {"Subject master ", "Subject master  "}},  // once in each pass
      {"exception", {"Subject exception "}},
      {"lower", {"Subject lower "}},
      {"tentative", {"Subject tentative "}},
      {"occurrence", {"Subject occurrence "}},
  };
  EXPECT_EQ(saves, expected);
  // 2 recurring in pass 1; master, lower, free, tentative, unreadable, locked, occurrence in
  // pass 2.
  EXPECT_EQ(Text(ControlByName(window_, L"Text1")), L"9");
  EXPECT_EQ(Text(ControlByName(window_, L"voortgang")),
            L"IMPORT FINISHED, wait until the mousepointer is no longer showing a hourglass. "
            L"Quorvel might still be working.");
}

TEST_F(ImportRun, AReversedRangeIsRefusedAndNothingIsSaved) {
  StandinStore store;
  store.items.push_back(MakeItem("a", {2026, 12, 8, 10, 0, 0}, 2, 1));
  Start(store);
  SetRange(Moment(2026, 12, 8, 15, 0, 0), Moment(2026, 12, 8, 14, 0, 0));  // same day, earlier time
  const auto boxes = ClickStartImport();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            L"The end date should be later then the start date. Please select other dates.");
  EXPECT_EQ(boxes[0].title, L"QuorvelImport");
  EXPECT_EQ(boxes[0].icon, BoxIcon::kStop);
  EXPECT_TRUE(SavesById(store_).empty());
}

TEST_F(ImportRun, WithoutANamespaceTheStartUpReportsItAndARunShowsOnlyTheItemsBox) {
  StandinStore store;
  store.namespace_failure =
      ErrorRecord{-2147221233, L"The attempted operation failed. An object could not be found.",
                  L"Microsoft Outlook"};
  store.items.push_back(MakeItem("a", {2026, 12, 8, 10, 0, 0}, 2, 1));
  Start(store);
  EXPECT_EQ(
      startup_box_.text,
      L"Error please start outlook\n\nnr.: -2147221233\nDescr: The attempted operation failed. "
      L"An object could not be found.\nSource: Microsoft Outlook");
  EXPECT_EQ(startup_box_.title, L"Quorvel import");
  EXPECT_EQ(startup_box_.icon, BoxIcon::kStop);

  const auto boxes = ClickStartImport();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, L"error 91 - Object variable or With block variable not set");
  EXPECT_EQ(boxes[0].title, L"QuorvelImport");
  EXPECT_EQ(boxes[0].icon, BoxIcon::kNone);
  EXPECT_EQ(boxes[1].text, kFinished);
  EXPECT_EQ(Text(ControlByName(window_, L"voortgang")).substr(0, 16), L"IMPORT FINISHED,");
  EXPECT_TRUE(SavesById(store_).empty());
}

// As a user who cannot use a mouse makes a run: Tab to each picker and type its date, Space on
// a check box, Enter on "Start import" and on each box, all as real key presses. Wine's picker
// chooses no field as it takes the focus (Windows' chooses the first) and stays in a field once
// its digits are typed (Windows' moves on): Right chooses each field, as it does on Windows.
TEST_F(ImportRun, AWholeRunCanBeMadeWithTheKeyboardAlone) {
  ShortDateFormat restore;
  ShortDateFormat::Set(L"M/d/yyyy");
  StandinStore store;
  store.items = {
      MakeItem("before", {2026, 12, 6, 23, 0, 0}), MakeItem("busy", {2026, 12, 7, 9, 0, 0}),
      MakeItem("free", {2026, 12, 8, 9, 0, 0}, 0), MakeItem("last", {2026, 12, 12, 18, 0, 0}),
      MakeItem("after", {2026, 12, 13, 9, 0, 0})};
  Start(store);
  auto type = [&](std::initializer_list<UINT> keys) {
    for (UINT key : keys) ASSERT_TRUE(SendKey(window_, key)) << "not in the foreground";
  };
  auto focus_reaches = [&](const wchar_t* name) {
    return WaitFor([&] { return FocusOf(window_) == ControlByName(window_, name); },
                   Duration{5000});
  };
  type({VK_TAB, VK_TAB});
  ASSERT_TRUE(focus_reaches(L"DTPstartdatum"));
  type({VK_RIGHT, '1', '2', VK_RIGHT, '0', '7', VK_RIGHT, '2', '0', '2', '6', VK_TAB});
  ASSERT_TRUE(focus_reaches(L"DTPeinddatum"));
  type({VK_RIGHT, '1', '2', VK_RIGHT, '1', '2', VK_RIGHT, '2', '0', '2', '6', VK_TAB, VK_TAB});
  ASSERT_TRUE(focus_reaches(L"ChkFree"));
  type({VK_SPACE, VK_TAB, VK_TAB, VK_TAB});
  ASSERT_TRUE(focus_reaches(L"cmdImport"));
  EXPECT_EQ(CheckState(ControlByName(window_, L"ChkFree")), BST_UNCHECKED);
  const SYSTEMTIME from = *PickerValue(ControlByName(window_, L"DTPstartdatum"));
  const SYSTEMTIME to = *PickerValue(ControlByName(window_, L"DTPeinddatum"));
  EXPECT_EQ(std::tuple(from.wYear, from.wMonth, from.wDay), std::tuple(2026, 12, 7));
  EXPECT_EQ(std::tuple(to.wYear, to.wMonth, to.wDay), std::tuple(2026, 12, 12));

  type({VK_RETURN});
  HWND box = WaitForMessageBox(program_->process_id(), Duration{60000});
  ASSERT_NE(box, nullptr) << "Enter did not start the run";
  EXPECT_EQ(ReadMessageBox(box).text, kFinished);
  ASSERT_TRUE(SendKey(box, VK_RETURN));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, Duration{5000})) << "Enter left the box up";
  const std::map<std::string, std::vector<std::string>> expected{{"busy", {"Subject busy "}},
                                                                 {"last", {"Subject last "}}};
  EXPECT_EQ(SavesById(store_), expected);
}

TEST_F(ImportRun, EachKindOfUndoneWorkIsToldOnceInTheOutcomeBox) {
  RunOutcomeCases(Host::kInProcess);
}

}  // namespace
}  // namespace quorvel::endtoend

// The invariant checks must hold for a faithful run and break for each kind of fault the
// campaign hunts; a check that never breaks hides every fault behind it.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "random_scenario.h"
#include "outcome_box.h"
#include "run_checks.h"
#include "touch/touch_texts.h"

namespace quorvel::campaign {
namespace {

using test_driver::BoxIcon;
using test_driver::MessageBoxView;

const ErrorRecord kAborted{-2147467260, L"Operation aborted", L"Microsoft Outlook"};

MessageBoxView Box(std::wstring title, std::wstring text, BoxIcon icon) {
  MessageBoxView box;
  box.title = std::move(title);
  box.text = std::move(text);
  box.icon = icon;
  return box;
}

// A calendar of three: a recurring one in range (saved twice), a locked one, a free one
// left unticked.
class RunChecks : public ::testing::Test {
 protected:
  RunChecks() {
    run_.range_start = {2026, 12, 7, 0, 0, 0};
    run_.range_end = {2026, 12, 12, 0, 0, 0};
    run_.boxes = {false, true, true, true};
    run_.store.items = {Item("master", 2, 1, {2026, 12, 8, 9, 0, 0}),
                        Item("locked", 2, 0, {2026, 12, 9, 9, 0, 0}),
                        Item("free", 0, 0, {2026, 12, 10, 9, 0, 0})};
    run_.store.items[1].failures["Save"] = kAborted;
    expected_ = Predict();

    // What a faithful run leaves behind.
    seen_.window_shown = true;
    seen_.journal = expected_.saves;
    seen_.store = std::map<std::string, std::wstring>{
        {"master", L"master  "}, {"locked", L"locked"}, {"free", L"free"}};
    seen_.boxes = {
        Box(L"QuorvelImport", expected_.outcome, BoxIcon::kExclamation),
        Box(L"Quorvel Import tool", L"Import finished           ", BoxIcon::kInformation)};
    seen_.boxes_complete = true;
    seen_.alive_after_run = true;
    seen_.count_text = L"4";
    seen_.progress_text = L"IMPORT FINISHED, wait until the mousepointer is no longer showing";
    seen_.exit_code = 0;
  }

  static StandinItem Item(std::string id, int busy, int recurrence, DateTime start) {
    StandinItem item;
    item.subject = std::wstring(id.begin(), id.end());
    item.id = std::move(id);
    item.busy = busy;
    item.recurrence = recurrence;
    item.start = start;
    return item;
  }

  ExpectedRun Predict() const {
    return PredictRun({run_.store.items, run_.range_start, run_.range_end, run_.boxes,
                       run_.store.failures, run_.host});
  }

  std::vector<std::string> Broken() const {
    std::vector<std::string> broken;
    for (const auto& verdict : CheckRun(run_, expected_, seen_)) {
      if (!verdict.held) broken.push_back(verdict.invariant);
    }
    return broken;
  }

  bool Breaks(const std::string& invariant) const {
    const auto broken = Broken();
    return std::find(broken.begin(), broken.end(), invariant) != broken.end();
  }

  Scenario run_;
  ExpectedRun expected_;
  ObservedRun seen_;
};

TEST_F(RunChecks, AFaithfulRunKeepsEveryInvariant) {
  EXPECT_EQ(expected_.saves.size(), 2u);
  EXPECT_TRUE(Broken().empty());
}

TEST_F(RunChecks, AMissingExtraOrWronglyBlankedSaveIsCaught) {
  seen_.journal.pop_back();
  EXPECT_TRUE(Breaks("saves in the order and number the passes ask"));
  EXPECT_TRUE(Breaks("each chosen appointment saved as often as asked, with its blanks"));

  seen_.journal = expected_.saves;
  seen_.journal.push_back({"free", L"free "});
  EXPECT_TRUE(Breaks("no unchosen appointment saved"));

  seen_.journal = expected_.saves;
  seen_.journal[1].subject = L"master ";  // a blank short
  EXPECT_TRUE(Breaks("each chosen appointment saved as often as asked, with its blanks"));
}

TEST_F(RunChecks, AKilledRunMayStopEarlyButNotGoAstray) {
  seen_.killed = true;
  seen_.boxes.clear();
  seen_.alive_after_run = false;
  seen_.journal.resize(1);
  seen_.store->at("master") = L"master ";
  EXPECT_TRUE(Broken().empty());

  seen_.journal = {expected_.saves[1]};  // the second save without the first
  seen_.store->at("master") = L"master  ";
  EXPECT_TRUE(Breaks("saves in the order and number the passes ask"));
}

TEST_F(RunChecks, AJournalledSaveMissingFromTheStoreIsCaught) {
  seen_.store->at("master") = L"master ";
  EXPECT_TRUE(Breaks("store reflects every journalled save"));
  seen_.store->erase("free");
  EXPECT_TRUE(Breaks("store reflects every journalled save"));
  seen_.store.reset();
  EXPECT_TRUE(Breaks("store reflects every journalled save"));
}

TEST_F(RunChecks, AWrongMissingOrNeedlessOutcomeBoxIsCaught) {
  constexpr char kExact[] = "outcome told exactly, then the closing box";
  constexpr char kNamed[] = "each kind left undone named, no box when nothing was";
  ASSERT_FALSE(expected_.outcome.empty());
  seen_.boxes[0].text = expected_.outcome + L"\n";
  EXPECT_TRUE(Breaks(kExact));
  seen_.boxes[0] = Box(L"QuorvelImport", expected_.outcome, BoxIcon::kStop);
  EXPECT_TRUE(Breaks(kExact));
  seen_.boxes.erase(seen_.boxes.begin());
  EXPECT_TRUE(Breaks(kExact));
  EXPECT_TRUE(Breaks(kNamed));

  // A section of another kind in place of the one the run met.
  seen_.boxes.insert(
      seen_.boxes.begin(),
      Box(L"QuorvelImport", test_driver::OutcomeText({{touch::SubjectsNotChanged(1), kAborted}}),
          BoxIcon::kExclamation));
  EXPECT_TRUE(Breaks(kNamed));

  // Nothing left undone, yet a box came.
  run_.store.items[1].failures.clear();
  expected_ = Predict();
  seen_.journal = expected_.saves;
  seen_.store->at("locked") = L"locked ";
  seen_.count_text = L"4";
  EXPECT_TRUE(Breaks(kNamed));
  seen_.boxes.erase(seen_.boxes.begin());
  EXPECT_TRUE(Broken().empty());
}

// Outlook killed under the run after its first save: the box cannot be foretold word for word,
// but it must say Outlook went, in the sections that show it, and name what came before.
TEST_F(RunChecks, AnOutlookKilledUnderTheRunMustShowInTheOutcomeBox) {
  const ErrorRecord gone{static_cast<std::int32_t>(0x800706BA), L"The RPC server is unavailable.",
                         L""};
  const ErrorRecord other{-2147467259, L"Unspecified error", L"Microsoft Outlook"};
  const auto box = test_driver::OutcomeText;
  struct Case {
    const char* name;
    std::wstring outcome;
    bool held;
  };
  const std::vector<Case> cases{
      {"pass 1 cut short, so no range",
       box({{touch::PassCutShort(true, 1), gone}, {touch::RangeNotFiltered(false), gone}}), true},
      {"the range pass cut short",
       box({{touch::AppointmentsNotSaved(1), kAborted}, {touch::PassCutShort(false, 2), gone}}),
       true},
      {"pass 1 cut short, yet no word of the range", box({{touch::PassCutShort(true, 1), gone}}),
       false},
      {"cut short, but not by Outlook going",
       box({{touch::PassCutShort(true, 1), other}, {touch::RangeNotFiltered(false), other}}),
       false},
      {"the run went on as if Outlook were there",
       box({{touch::AppointmentsNotSaved(1), kAborted}}), false},
  };
  seen_.standin_killed = true;
  seen_.journal.resize(1);
  seen_.store->at("master") = L"master ";
  seen_.count_text = L"1";
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    seen_.boxes[0].text = test.outcome;
    EXPECT_EQ(Broken().empty(), test.held);
  }
  // A kind met before the last journalled save must be named: the locked one, moved before the
  // master in the range, fails before the second save.
  run_.store.items[1].start = {2026, 12, 7, 9, 0, 0};
  expected_ = Predict();
  seen_.journal = expected_.saves;
  seen_.store->at("master") = L"master  ";
  seen_.boxes[0].text = cases[1].outcome;
  EXPECT_TRUE(Broken().empty());
  seen_.boxes[0].text = cases[0].outcome;
  EXPECT_TRUE(Breaks("each kind left undone named, no box when nothing was"));
}

TEST_F(RunChecks, AWrongCountAStuckWindowOrAnUncleanEndIsCaught) {
  seen_.count_text = L"3";
  EXPECT_TRUE(Breaks("count shows every examined appointment"));
  seen_.progress_text = L"Processing...";
  EXPECT_TRUE(Breaks("completion note shown"));
  seen_.exit_code = 3;
  EXPECT_TRUE(Breaks("program ends cleanly when closed"));
  seen_.exit_code.reset();
  EXPECT_TRUE(Breaks("program ends cleanly when closed"));
  seen_.driver_problems.push_back("no further box within 30 s: a hang");
  EXPECT_TRUE(Breaks("no hang: every wait ended in time"));
}

TEST(RandomScenarioTest, ASeedGivesOneScenarioWhoseStartsAreDistinctAndFaultsOnAppointments) {
  const ScenarioLimits limits{30, 50, 60};
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    const Scenario first = RandomScenario(seed, HostChoice::kBoth, limits);
    const Scenario again = RandomScenario(seed, HostChoice::kBoth, limits);
    ASSERT_EQ(first.store.items.size(), again.store.items.size());
    std::set<DateTime> starts;
    for (std::size_t i = 0; i < first.store.items.size(); ++i) {
      const StandinItem& item = first.store.items[i];
      EXPECT_EQ(item.subject, again.store.items[i].subject);
      EXPECT_EQ(item.failures.size(), again.store.items[i].failures.size());
      EXPECT_TRUE(starts.insert(item.start).second) << "seed " << seed << ": a shared start";
      if (item.item_class != kAppointmentClass) {
        for (const auto& [member, error] : item.failures) {
          EXPECT_TRUE(member == "Class" || member == "Fetch") << member;
        }
      }
    }
    EXPECT_LE(first.range_start, first.range_end) << "seed " << seed;
    if (first.kill == Scenario::Kill::kStandin) {
      EXPECT_EQ(first.host, Host::kLocalServer);
    }
    if (first.store.busy_after_save_ms > 0) EXPECT_EQ(first.host, Host::kLocalServer);
  }
}

}  // namespace
}  // namespace quorvel::campaign

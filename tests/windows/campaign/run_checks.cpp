#include "run_checks.h"

#include <algorithm>
#include <map>
#include <set>

namespace quorvel::campaign {

namespace {

using test_driver::BoxIcon;
using test_driver::MessageBoxView;

constexpr wchar_t kFinished[] = L"Import finished           ";
constexpr wchar_t kFinishedTitle[] = L"Quorvel Import tool";
constexpr wchar_t kApplicationTitle[] = L"QuorvelImport";
constexpr wchar_t kFinishedCaptionStart[] = L"IMPORT FINISHED,";

std::string Narrow(const std::wstring& text) {
  std::string result;
  for (const wchar_t c : text) {
    if (c == L'\n') {
      result += "\\n";
    } else {
      result += c < 0x80 ? char(c) : '?';
    }
  }
  return result;
}

std::string Describe(const SavedSubject& save) {
  return save.id + " \"" + Narrow(save.subject) + "\"";
}

std::string DescribeBox(const MessageBoxView& box) {
  return "[" + Narrow(box.title) + "|" + Narrow(test_driver::NameOf(box.icon)) + "] \"" +
         Narrow(box.text) + "\"";
}

class Checks {
 public:
  void Expect(const char* invariant, bool held, std::string detail = {}) {
    verdicts_.push_back({invariant, held, held ? std::string() : std::move(detail)});
  }
  std::vector<Verdict> Result() && { return std::move(verdicts_); }

 private:
  std::vector<Verdict> verdicts_;
};

// A run whose program or Outlook was killed may stop anywhere, but what it saved must be where
// a whole run begins.
bool CutShort(const ObservedRun& seen) {
  return seen.killed || seen.standin_killed;
}

void CheckSaveSequence(Checks& checks, const ExpectedRun& expected, const ObservedRun& seen) {
  const auto& journal = seen.journal;
  std::size_t same = 0;
  while (same < journal.size() && same < expected.saves.size() &&
         journal[same] == expected.saves[same]) {
    ++same;
  }
  const bool whole = journal.size() == expected.saves.size();
  const bool held = same == journal.size() && (CutShort(seen) || whole);
  std::string detail = "journal has " + std::to_string(journal.size()) + " saves, model " +
                       std::to_string(expected.saves.size()) + "; ";
  if (same < journal.size()) {
    detail += "save " + std::to_string(same + 1) + " is " + Describe(journal[same]) +
              (same < expected.saves.size() ? ", model " + Describe(expected.saves[same])
                                            : std::string(", model none"));
  } else if (same < expected.saves.size()) {
    detail += "first missing " + Describe(expected.saves[same]);
  }
  checks.Expect("saves in the order and number the passes ask", held, detail);
}

// Per appointment, whatever the order: how often it was saved and with which blanks.
void CheckSubjects(Checks& checks, const ExpectedRun& expected, const ObservedRun& seen) {
  std::map<std::string, std::vector<std::wstring>> saved, wanted;
  for (const auto& save : seen.journal) saved[save.id].push_back(save.subject);
  for (const auto& save : expected.saves) wanted[save.id].push_back(save.subject);
  std::string detail;
  for (const auto& [id, subjects] : saved) {
    const auto& model = wanted[id];
    const bool prefix = subjects.size() <= model.size() &&
                        std::equal(subjects.begin(), subjects.end(), model.begin());
    const bool ok = CutShort(seen) ? prefix : subjects == model;
    if (!ok && detail.empty()) {
      detail = id + " saved " + std::to_string(subjects.size()) + " times, last \"" +
               Narrow(subjects.back()) + "\"; model " + std::to_string(model.size()) + " times";
    }
  }
  if (!CutShort(seen) && detail.empty()) {
    for (const auto& [id, subjects] : wanted) {
      if (!saved.count(id) && detail.empty()) detail = id + " never saved";
    }
  }
  checks.Expect("each chosen appointment saved as often as asked, with its blanks", detail.empty(),
                detail);
}

void CheckLeftAlone(Checks& checks, const Scenario& run, const ExpectedRun& expected,
                    const ObservedRun& seen) {
  std::set<std::string> chosen;
  for (const auto& save : expected.saves) chosen.insert(save.id);
  std::set<std::string> unreadable_busy;
  for (const auto& item : run.store.items) {
    if (item.failures.count("BusyStatus")) unreadable_busy.insert(item.id);
  }
  std::string changed, unreadable;
  for (const auto& save : seen.journal) {
    if (!chosen.count(save.id) && changed.empty()) changed = Describe(save);
    if (unreadable_busy.count(save.id) && unreadable.empty()) unreadable = Describe(save);
  }
  checks.Expect("no unchosen appointment saved", changed.empty(), "saved: " + changed);
  checks.Expect("no appointment with an unreadable busy status saved", unreadable.empty(),
                "saved: " + unreadable);
}

void CheckStore(Checks& checks, const Scenario& run, const ObservedRun& seen) {
  if (!seen.store) {
    checks.Expect("store reflects every journalled save", false, "store unreadable");
    return;
  }
  std::map<std::string, std::wstring> wanted;
  for (const auto& item : run.store.items) wanted[item.id] = item.subject;
  for (const auto& save : seen.journal) wanted[save.id] = save.subject;
  std::string detail;
  if (seen.store->size() != wanted.size()) {
    detail = "store holds " + std::to_string(seen.store->size()) + " items, calendar " +
             std::to_string(wanted.size());
  }
  for (const auto& [id, subject] : wanted) {
    const auto found = seen.store->find(id);
    if (detail.empty() && (found == seen.store->end() || found->second != subject)) {
      detail = id + " holds \"" +
               (found == seen.store->end() ? std::string("<missing>") : Narrow(found->second)) +
               "\", last journalled \"" + Narrow(subject) + "\"";
    }
  }
  checks.Expect("store reflects every journalled save", detail.empty(), detail);
}

// The errors of an Outlook that went away under its client.
bool OutlookGone(const std::wstring& error_lines) {
  for (const std::int32_t gone :
       {std::int32_t(0x800706BA), std::int32_t(0x800706BE), std::int32_t(0x80010108)}) {
    if (error_lines.starts_with(L"nr.: " + std::to_wstring(gone) + L"\n")) return true;
  }
  return false;
}

std::string Kinds(const std::vector<OutcomeSection>& sections) {
  std::string names;
  for (const auto& section : sections) names += (names.empty() ? "" : ", ") + NameOf(section.kind);
  return "{" + names + "}";
}

std::string Kinds(const std::map<Undone, std::size_t>& undone) {
  std::string names;
  for (const auto& [kind, saves] : undone) names += (names.empty() ? "" : ", ") + NameOf(kind);
  return "{" + names + "}";
}

// Whatever the run met, the user learns of it: each kind of undone work the model holds has its
// section in the box, and a run that left nothing undone shows no box. With Outlook killed under
// it, the run must name what it met before its last save, and that Outlook went: a pass cut
// short, or a range that could not be had, by an error of a server gone.
void CheckUndoneNamed(Checks& checks, const Scenario& run, const ExpectedRun& expected,
                      const ObservedRun& seen, const std::wstring& outcome) {
  std::vector<OutcomeSection> sections;
  const bool box = !outcome.empty();
  // No count in the box can pass twice the calendar: an element is met at most once a pass.
  const auto most = 2 * static_cast<std::int64_t>(run.store.items.size());
  const bool readable = box && ReadOutcome(outcome, most, sections);
  std::set<Undone> named;
  for (const auto& section : sections) named.insert(section.kind);
  std::string detail = "box names " + (box ? Kinds(sections) : std::string("nothing")) +
                       ", model " + Kinds(expected.undone);
  if (box && !readable) detail = "unreadable outcome box \"" + Narrow(outcome) + "\"";

  bool held = false;
  // A run that got to its end before Outlook went is judged as any other.
  const bool whole = outcome == expected.outcome && seen.journal.size() == expected.saves.size();
  if (seen.standin_killed && !whole) {
    bool gone = false, range_followed = true;
    for (const auto& section : sections) {
      if (!OutlookGone(section.error_lines)) continue;
      gone = true;
      if (section.kind == Undone::kRecurringPassCutShort) {
        range_followed = std::any_of(sections.begin(), sections.end(), [](const auto& other) {
          return other.kind == Undone::kRangeNotFound && OutlookGone(other.error_lines);
        });
      }
    }
    bool met = true;
    for (const auto& [kind, saves] : expected.undone) {
      if (saves < seen.journal.size() && !named.count(kind)) met = false;
    }
    held = readable && gone && range_followed && met;
    detail += ", " + std::to_string(seen.journal.size()) + " saves before Outlook went";
  } else {
    std::set<Undone> wanted;
    for (const auto& [kind, saves] : expected.undone) wanted.insert(kind);
    held = box ? readable && named == wanted : wanted.empty();
  }
  checks.Expect("each kind left undone named, no box when nothing was", held, detail);
}

// The boxes as they came: the outcome box (when there is something to tell), then the closing
// box. Outlook killed under the run makes the outcome's text unknowable, but not its place,
// title or icon.
void CheckBoxes(Checks& checks, const Scenario& run, const ExpectedRun& expected,
                const ObservedRun& seen) {
  const bool outcome_shown = !seen.boxes.empty() && seen.boxes.front().text != kFinished;
  const std::wstring outcome = outcome_shown ? seen.boxes.front().text : std::wstring();
  CheckUndoneNamed(checks, run, expected, seen, outcome);

  std::vector<MessageBoxView> wanted;
  if (!expected.outcome.empty() || (seen.standin_killed && outcome_shown)) {
    MessageBoxView warning;
    warning.title = kApplicationTitle;
    warning.text = seen.standin_killed ? outcome : expected.outcome;
    warning.icon = BoxIcon::kExclamation;
    wanted.push_back(warning);
  }
  MessageBoxView finished;
  finished.title = kFinishedTitle;
  finished.text = kFinished;
  finished.icon = BoxIcon::kInformation;
  wanted.push_back(finished);

  auto same = [](const MessageBoxView& a, const MessageBoxView& b) {
    return a.title == b.title && a.text == b.text && a.icon == b.icon;
  };
  std::string detail;
  for (std::size_t i = 0; i < std::max(wanted.size(), seen.boxes.size()) && detail.empty(); ++i) {
    if (i >= seen.boxes.size() || i >= wanted.size() || !same(seen.boxes[i], wanted[i])) {
      detail = "box " + std::to_string(i + 1) + ": " +
               (i < seen.boxes.size() ? DescribeBox(seen.boxes[i]) : std::string("none")) +
               "; model " + (i < wanted.size() ? DescribeBox(wanted[i]) : std::string("none"));
    }
  }
  checks.Expect("outcome told exactly, then the closing box", detail.empty(), detail);
}

void CheckWindowAfterRun(Checks& checks, const ExpectedRun& expected, const ObservedRun& seen) {
  const std::wstring count = expected.count > 0 ? std::to_wstring(expected.count) : L"-";
  if (!seen.standin_killed) {
    checks.Expect("count shows every examined appointment", seen.count_text == count,
                  "Text1 \"" + Narrow(seen.count_text) + "\", model \"" + Narrow(count) + "\"");
  }
  checks.Expect("completion note shown", seen.progress_text.starts_with(kFinishedCaptionStart),
                "voortgang \"" + Narrow(seen.progress_text) + "\"");
}

}  // namespace

std::vector<Verdict> CheckRun(const Scenario& run, const ExpectedRun& expected,
                              const ObservedRun& seen) {
  Checks checks;
  checks.Expect("window shown without a start-up box",
                seen.window_shown && seen.startup_box.empty(),
                seen.window_shown ? "start-up box \"" + Narrow(seen.startup_box) + "\""
                                  : std::string("no window"));
  std::string problems;
  for (const auto& problem : seen.driver_problems) problems += problem + "; ";
  checks.Expect("no hang: every wait ended in time", seen.driver_problems.empty(), problems);
  if (!seen.window_shown) return std::move(checks).Result();

  CheckSaveSequence(checks, expected, seen);
  CheckSubjects(checks, expected, seen);
  CheckLeftAlone(checks, run, expected, seen);
  CheckStore(checks, run, seen);
  if (seen.killed) return std::move(checks).Result();

  CheckBoxes(checks, run, expected, seen);
  checks.Expect("program alive after the run", seen.alive_after_run, "it had ended");
  if (!seen.alive_after_run) return std::move(checks).Result();
  CheckWindowAfterRun(checks, expected, seen);
  checks.Expect("program ends cleanly when closed", seen.exit_code == DWORD{0},
                seen.exit_code ? "exit code " + std::to_string(*seen.exit_code)
                               : std::string("still running"));
  return std::move(checks).Result();
}

}  // namespace quorvel::campaign

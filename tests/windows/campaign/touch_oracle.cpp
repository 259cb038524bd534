#include "touch_oracle.h"

#include <algorithm>
#include <functional>

#include "common/com/com_error.h"
#include "scenario.h"
#include "store/text_encoding.h"
#include "touch/run_account.h"
#include "touch/touch_texts.h"

namespace quorvel::campaign {

namespace {

using testing::StandinItem;
using touch::Pass;

const ErrorRecord* FaultOf(const StandinItem& item, const char* member) {
  const auto found = item.failures.find(member);
  return found == item.failures.end() ? nullptr : &found->second;
}

const ErrorRecord* FaultOf(const std::map<std::string, ErrorRecord>& faults, const char* member) {
  const auto found = faults.find(member);
  return found == faults.end() ? nullptr : &found->second;
}

bool IsAppointment(const StandinItem& item) {
  return item.item_class == kAppointmentClass;
}

// A recurrence state that cannot be read sends the appointment on as if it were recurring.
bool Recurring(const StandinItem& item) {
  return FaultOf(item, "RecurrenceState") || item.recurrence == 1 || item.recurrence == 3;
}

// Across processes Wine carries no error information back from a failed enumerator call: the
// program has the status alone, and words it itself.
ErrorRecord FetchFailureSeen(const ErrorRecord& error, testing::Host host) {
  if (host == testing::Host::kInProcess) return error;
  return com::ErrorFromStatus(static_cast<HRESULT>(error.number), nullptr, IID_IEnumVARIANT)
      .record();
}

// What the run knows while it walks: the subject the store holds now, and what it left undone.
class Model {
 public:
  explicit Model(const OracleInput& input) : input_(input) {
    for (const StandinItem& item : input.items) stored_[item.id] = item.subject;
  }

  // One walk over a collection. An element that cannot be fetched ends it; one whose kind
  // cannot be read is left alone; only appointments go on to `examine`.
  void Walk(Pass pass, const std::vector<const StandinItem*>& elements) {
    std::int64_t handled = 0;
    for (const StandinItem* item : elements) {
      if (const ErrorRecord* fetch = FaultOf(*item, "Fetch")) {
        account_.NotePassCutShort(pass, handled, FetchFailureSeen(*fetch, input_.host));
        Note(pass == Pass::kRecurring ? Undone::kRecurringPassCutShort
                                      : Undone::kRangePassCutShort);
        return;
      }
      ++handled;
      if (const ErrorRecord* kind = FaultOf(*item, "Class")) {
        account_.NoteUnexaminable(standin::Utf8ToWide(item->id), *kind);
        Note(Undone::kUnexaminable);
        continue;
      }
      if (!IsAppointment(*item)) continue;
      if (pass == Pass::kRecurring && !Recurring(*item)) continue;
      Examine(*item);
    }
  }

  void RangeFailed(Undone kind, const ErrorRecord& error) {
    if (kind == Undone::kRangeNotSorted) {
      account_.NoteRangeNotSorted(error);
    } else {
      account_.NoteRangeNotFiltered(kind == Undone::kRangeNotCounted, error);
    }
    Note(kind);
  }

  ExpectedRun Result() {
    run_.outcome = account_.Message();
    return run_;
  }

 private:
  void Note(Undone kind) { run_.undone.try_emplace(kind, run_.saves.size()); }

  // Examining one appointment: counted whatever happens; touched only when chosen.
  void Examine(const StandinItem& item) {
    ++run_.count;
    if (!Chosen(item)) return;
    std::optional<ErrorRecord> subject_failure;
    std::wstring subject = stored_[item.id];
    if (const ErrorRecord* read = FaultOf(item, "Subject")) {
      subject_failure = *read;
    } else if (const ErrorRecord* write = FaultOf(item, "Subject.put")) {
      subject_failure = *write;
    } else {
      subject += L' ';
    }
    // A failed save leaves the store as it was: the written subject dies with the object.
    std::optional<ErrorRecord> save_failure;
    if (const ErrorRecord* save = FaultOf(item, "Save")) save_failure = *save;
    if (!save_failure) {
      stored_[item.id] = subject;
      run_.saves.push_back({item.id, subject});
    }
    if (subject_failure || save_failure) {
      // The stand-in's entry id is the item's id.
      account_.NoteHandOver(std::wstring(item.id.begin(), item.id.end()), subject_failure,
                            save_failure);
      Note(save_failure ? Undone::kNotSaved : Undone::kSubjectNotChanged);
    }
  }

  // An appointment whose busy status cannot be read is not chosen.
  bool Chosen(const StandinItem& item) const {
    if (FaultOf(item, "BusyStatus")) return false;
    return item.busy >= 0 && item.busy <= 3 && input_.boxes[static_cast<std::size_t>(item.busy)];
  }

  const OracleInput& input_;
  std::map<std::string, std::wstring> stored_;
  touch::RunAccount account_;
  ExpectedRun run_;
};

}  // namespace

std::string NameOf(Undone kind) {
  switch (kind) {
    case Undone::kNotSaved:
      return "appointments not saved";
    case Undone::kSubjectNotChanged:
      return "subjects not changed";
    case Undone::kRecurringPassCutShort:
      return "recurring pass cut short";
    case Undone::kRangePassCutShort:
      return "range pass cut short";
    case Undone::kRangeNotFound:
      return "range not found";
    case Undone::kRangeNotCounted:
      return "range not counted";
    case Undone::kRangeNotSorted:
      return "range not sorted";
    case Undone::kUnexaminable:
      return "elements not examined";
  }
  return "?";
}

bool InRange(const DateTime& start, const DateTime& range_start, const DateTime& range_end) {
  const DateTime lower{range_start.year, range_start.month, range_start.day, 0, 0, 0};
  const DateTime upper{range_end.year, range_end.month, range_end.day, 23, 59, 0};
  const DateTime minute{start.year, start.month, start.day, start.hour, start.minute, 0};
  return minute >= lower && minute < upper;
}

ExpectedRun PredictRun(const OracleInput& input) {
  Model model(input);
  // The first walk: the whole calendar in its own order.
  std::vector<const StandinItem*> calendar;
  for (const StandinItem& item : input.items) calendar.push_back(&item);
  model.Walk(Pass::kRecurring, calendar);

  // The second walk: every element of the range, earliest start first when it can be sorted.
  if (const ErrorRecord* restrict = FaultOf(input.collection_failures, "restrict")) {
    model.RangeFailed(Undone::kRangeNotFound, * restrict);
    return model.Result();
  }
  std::vector<const StandinItem*> range;
  for (const StandinItem& item : input.items) {
    if (InRange(item.start, input.range_start, input.range_end)) range.push_back(&item);
  }
  if (const ErrorRecord* count = FaultOf(input.collection_failures, "count")) {
    model.RangeFailed(Undone::kRangeNotCounted, *count);
    return model.Result();
  }
  if (range.empty()) return model.Result();
  if (const ErrorRecord* sort = FaultOf(input.collection_failures, "sort")) {
    model.RangeFailed(Undone::kRangeNotSorted, *sort);
  } else {
    std::stable_sort(range.begin(), range.end(), [](const StandinItem* a, const StandinItem* b) {
      return a->start < b->start;
    });
  }
  model.Walk(Pass::kRange, range);
  return model.Result();
}

bool ReadOutcome(const std::wstring& text, std::int64_t most,
                 std::vector<OutcomeSection>& sections) {
  sections.clear();
  const std::wstring head = std::wstring(touch::kOutcomeHeadline) + L"\n\n";
  if (!text.starts_with(head)) return false;
  // Every headline the box can show, by kind, each with the count it was made with.
  using Headline = std::function<std::wstring(std::int64_t)>;
  const std::vector<std::pair<Undone, Headline>> headlines{
      {Undone::kNotSaved, touch::AppointmentsNotSaved},
      {Undone::kSubjectNotChanged, touch::SubjectsNotChanged},
      {Undone::kRecurringPassCutShort, [](std::int64_t n) { return touch::PassCutShort(true, n); }},
      {Undone::kRangePassCutShort, [](std::int64_t n) { return touch::PassCutShort(false, n); }},
      {Undone::kRangeNotFound, [](std::int64_t) { return touch::RangeNotFiltered(false); }},
      {Undone::kRangeNotCounted, [](std::int64_t) { return touch::RangeNotFiltered(true); }},
      {Undone::kRangeNotSorted, [](std::int64_t) { return std::wstring(touch::kRangeNotSorted); }},
      {Undone::kUnexaminable, touch::ElementsUnexaminable},
  };
  std::size_t at = head.size();
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(L"\n\n", at), text.size());
    const std::wstring section = text.substr(at, end - at);
    const std::size_t line_end = section.find(L'\n');
    if (line_end == std::wstring::npos) return false;
    const std::wstring headline = section.substr(0, line_end);
    bool known = false;
    for (const auto& [kind, make] : headlines) {
      for (std::int64_t n = 0; n <= most && !known; ++n) {
        if (make(n) == headline) {
          sections.push_back({kind, n, section.substr(line_end + 1)});
          known = true;
        }
      }
      if (known) break;
    }
    if (!known) return false;
    at = end + 2;
  }
  return !sections.empty();
}

}  // namespace quorvel::campaign

#include "touch_oracle.h"

#include <algorithm>
#include <map>

#include "scenario.h"

namespace quorvel::campaign {

namespace {

using testing::StandinItem;

const ErrorRecord* FaultOf(const StandinItem& item, const char* member) {
  const auto found = item.failures.find(member);
  return found == item.failures.end() ? nullptr : &found->second;
}

// What the run knows of one appointment while it walks: the subject the store holds now.
class Model {
 public:
  Model(const OracleInput& input) : input_(input) {
    for (const StandinItem& item : input.items) stored_[item.id] = item.subject;
  }

  // Examining one appointment: counted whatever happens; touched only when chosen.
  void Examine(const StandinItem& item) {
    ++run_.count;
    if (!Chosen(item)) return;
    std::optional<ErrorRecord> touch_failure;
    std::wstring subject = stored_[item.id];
    if (const ErrorRecord* read = FaultOf(item, "Subject")) {
      touch_failure = *read;
    } else if (const ErrorRecord* write = FaultOf(item, "Subject.put")) {
      touch_failure = *write;
    } else {
      subject += L' ';
    }
    // A failed save leaves the store as it was: the written subject dies with the object.
    const ErrorRecord* save_failure = FaultOf(item, "Save");
    if (!save_failure) {
      stored_[item.id] = subject;
      run_.saves.push_back({item.id, subject});
    }
    if (touch_failure || save_failure) {
      ++run_.failed_hand_overs;
      run_.last_failure = save_failure ? *save_failure : *touch_failure;
    }
  }

  ExpectedRun Result() const { return run_; }

 private:
  // An appointment whose busy status cannot be read is not chosen.
  bool Chosen(const StandinItem& item) const {
    if (FaultOf(item, "BusyStatus")) return false;
    return item.busy >= 0 && item.busy <= 3 && input_.boxes[static_cast<std::size_t>(item.busy)];
  }

  const OracleInput& input_;
  std::map<std::string, std::wstring> stored_;
  ExpectedRun run_;
};

bool IsAppointment(const StandinItem& item) {
  return item.item_class == kAppointmentClass;
}

// A recurrence state that cannot be read sends the appointment on as if it were recurring.
bool Recurring(const StandinItem& item) {
  return FaultOf(item, "RecurrenceState") || item.recurrence == 1 || item.recurrence == 3;
}

}  // namespace

bool InRange(const DateTime& start, const DateTime& range_start, const DateTime& range_end) {
  const DateTime lower{range_start.year, range_start.month, range_start.day, 0, 0, 0};
  const DateTime upper{range_end.year, range_end.month, range_end.day, 23, 59, 0};
  const DateTime minute{start.year, start.month, start.day, start.hour, start.minute, 0};
  return minute >= lower && minute < upper;
}

ExpectedRun PredictRun(const OracleInput& input) {
  Model model(input);
  // The first walk: every recurring appointment of the calendar, in its own order.
  for (const StandinItem& item : input.items) {
    if (IsAppointment(item) && Recurring(item)) model.Examine(item);
  }
  // The second walk: every appointment of the range, earliest start first.
  std::vector<const StandinItem*> range;
  for (const StandinItem& item : input.items) {
    if (IsAppointment(item) && InRange(item.start, input.range_start, input.range_end)) {
      range.push_back(&item);
    }
  }
  std::stable_sort(range.begin(), range.end(),
                   [](const StandinItem* a, const StandinItem* b) { return a->start < b->start; });
  for (const StandinItem* item : range) model.Examine(*item);
  return model.Result();
}

std::wstring HandOverWarningText(std::int32_t failed, const ErrorRecord& last) {
  return L"Not all appointments could be handed over: " + std::to_wstring(failed) +
         L" could not be saved.\n\nnr.: " + std::to_wstring(last.number) + L"\nDescr: " +
         last.description + L"\nSource: " + last.source;
}

}  // namespace quorvel::campaign

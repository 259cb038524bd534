#include "random_scenario.h"

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace quorvel::campaign {

namespace {

class Dice {
 public:
  explicit Dice(std::uint64_t seed) : engine_(seed) {}
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
  bool Percent(int percent) { return Between(1, 100) <= percent; }
  std::uint64_t Raw() { return engine_(); }

 private:
  std::mt19937_64 engine_;
};

const std::vector<ErrorRecord>& KnownErrors() {
  static const std::vector<ErrorRecord> errors{
      {-2147467260, L"Operation aborted", L"Microsoft Outlook"},
      {-2147221233, L"The attempted operation failed. An object could not be found.",
       L"Microsoft Outlook"},
      {-2147024891, L"Access is denied.", L"Outlook stand-in"},
      {-2147467259, L"Unspecified error", L"Microsoft Outlook"},
  };
  return errors;
}

// A known error most of the time; otherwise one of the campaign's making, so that a mix-up of
// two failures shows in the text.
ErrorRecord RandomError(Dice& dice) {
  if (dice.Percent(70)) {
    return KnownErrors()[static_cast<std::size_t>(dice.Between(0, 3))];
  }
  const std::int32_t number = static_cast<std::int32_t>(0x80040200u + dice.Between(0, 0xFDFF));
  return {number, L"Injected failure " + std::to_wstring(dice.Between(1, 99999)),
          L"Campaign source " + std::to_wstring(dice.Between(1, 99))};
}

std::wstring RandomSubject(Dice& dice, int index) {
  switch (dice.Between(0, 9)) {
    case 0:
      return L"";
    case 1:
      return L"Trailing " + std::to_wstring(index) + L"  ";
    case 2:
      return L" Leading " + std::to_wstring(index);
    default:
      return L"Appointment " + std::to_wstring(index);
  }
}

// Starts spread over the first three weeks of December 2026, every one on a minute of its
// own so that the order of the range walk is certain; some sit right at the range's bounds.
DateTime RandomStart(Dice& dice, const DateTime& lower, const DateTime& upper,
                     std::set<DateTime>& taken) {
  for (;;) {
    DateTime start;
    switch (dice.Between(0, 9)) {
      case 0:
        start = {lower.year, lower.month, lower.day, 0, 0, 0};  // on the lower bound
        break;
      case 1:
        start = {upper.year, upper.month, upper.day, 23, 59, 0};  // on the upper bound: out
        break;
      case 2:
        start = {upper.year, upper.month, upper.day, 23, 58, 0};  // just inside
        break;
      case 3:
        start = AddDays({lower.year, lower.month, lower.day, 23, 59, 0}, -1);  // just before
        break;
      default:
        start = {2026, 12, dice.Between(1, 21), dice.Between(0, 23), dice.Between(0, 59), 0};
    }
    if (taken.insert(start).second) return start;
    start = {2026, 12, dice.Between(1, 21), dice.Between(0, 23), dice.Between(0, 59), 0};
    if (taken.insert(start).second) return start;
  }
}

}  // namespace

Scenario RandomScenario(std::uint64_t seed, HostChoice hosts, const ScenarioLimits& limits) {
  Dice dice(seed);
  Scenario run;
  run.seed = seed;
  switch (hosts) {
    case HostChoice::kInProcess:
      run.host = Host::kInProcess;
      break;
    case HostChoice::kLocalServer:
      run.host = Host::kLocalServer;
      break;
    case HostChoice::kBoth:
      run.host = seed % 2 ? Host::kLocalServer : Host::kInProcess;
      break;
  }

  const int first_day = dice.Between(3, 12);
  const int last_day = first_day + dice.Between(0, 6);
  const int start_hour = dice.Between(0, 23);
  const int end_hour = last_day == first_day ? dice.Between(start_hour, 23) : dice.Between(0, 23);
  run.range_start = {2026, 12, first_day, start_hour, dice.Between(0, 59), 0};
  run.range_end = {2026, 12, last_day, end_hour, 59, 0};
  for (bool& box : run.boxes) box = dice.Percent(70);

  // A kill needs a calendar large enough that it lands mid-run. The stand-in can be killed only
  // where it runs apart from the program.
  if (dice.Percent(limits.kill_percent)) {
    run.kill = run.host == Host::kLocalServer && dice.Percent(50) ? Scenario::Kill::kStandin
                                                                  : Scenario::Kill::kProgram;
  }
  const bool kill = run.kill != Scenario::Kill::kNone;
  const int items = kill ? dice.Between(limits.kill_max_items / 2, limits.kill_max_items)
                         : dice.Between(0, limits.max_items);
  const int fault_percent =
      std::vector<int>{0, 5, 15, 30}[static_cast<std::size_t>(dice.Between(0, 3))];
  const int other_percent = dice.Percent(50) ? 10 : 0;
  // A failing fetch ends a pass, so it comes seldom enough that most passes get far.
  const int fetch_percent = dice.Percent(30) ? 2 : 0;

  std::set<DateTime> taken;
  for (int i = 0; i < items; ++i) {
    StandinItem item;
    item.id = "item" + std::to_string(i);
    item.item_class = dice.Percent(other_percent) ? kMeetingRequestClass : kAppointmentClass;
    item.subject = RandomSubject(dice, i);
    item.start = RandomStart(dice, run.range_start, run.range_end, taken);
    item.busy = dice.Percent(5) ? 4 : dice.Between(0, 3);  // 4: a status no box matches
    item.recurrence = dice.Between(0, 3);
    for (const std::string member : kFaultMembers) {
      const bool any_element = member == "Class" || member == "Fetch";
      if (!any_element && item.item_class != kAppointmentClass) continue;
      if (dice.Percent(member == "Fetch" ? fetch_percent : fault_percent)) {
        item.failures[member] = RandomError(dice);
      }
    }
    run.store.items.push_back(std::move(item));
  }
  for (const char* member : kCollectionFaults) {
    if (dice.Percent(limits.collection_fault_percent)) {
      run.store.failures[member] = RandomError(dice);
    }
  }
  if (run.host == Host::kLocalServer && dice.Percent(60)) {
    run.store.busy_after_save_ms = dice.Between(5, 40);
  }
  if (kill) run.kill_after_saves = dice.Between(1, 1000000);
  return run;
}

}  // namespace quorvel::campaign

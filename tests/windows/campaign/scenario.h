#pragma once
// One run of the campaign as data: the calendar the stand-in serves (faults included), what
// the user sets in the window, and whether the run is cut short by killing the program.

#include <array>
#include <cstdint>

#include "common/date_time.h"
#include "harness/standin_harness.h"

namespace quorvel::campaign {

using testing::Host;
using testing::StandinItem;
using testing::StandinStore;

// The members whose failure a run may inject, as the stand-in's store names them: an item's
// own, and then its collections' as a whole.
inline constexpr std::array<const char*, 8> kFaultMembers{
    "RecurrenceState", "BusyStatus", "Subject", "Subject.put", "Save", "Start", "Class", "Fetch"};
inline constexpr std::array<const char*, 3> kCollectionFaults{"restrict", "count", "sort"};

inline constexpr int kAppointmentClass = 26;
inline constexpr int kMeetingRequestClass = 53;

struct Scenario {
  std::uint64_t seed = 0;
  Host host = Host::kInProcess;
  StandinStore store;
  DateTime range_start;  // the pickers' values, time of day included
  DateTime range_end;
  // The wanted state of the box for busy status 0 Free, 1 Tentative, 2 Busy, 3 Out of Office.
  std::array<bool, 4> boxes{true, true, true, true};
  // What is killed as soon as this many saves are journalled: the program, or (out of process)
  // the stand-in under it. The campaign brings the count within the saves the run is to make.
  enum class Kill { kNone, kProgram, kStandin } kill = Kill::kNone;
  int kill_after_saves = 0;
};

}  // namespace quorvel::campaign

#pragma once
// Random runs from a seed: the same seed always gives the same calendar, faults and settings,
// so a failing run can be replayed from the seed alone.

#include <cstdint>

#include "scenario.h"

namespace quorvel::campaign {

enum class HostChoice { kInProcess, kLocalServer, kBoth };

struct ScenarioLimits {
  int max_items = 12;
  int kill_percent = 20;     // runs cut short by killing the program or the stand-in
  int kill_max_items = 400;  // a killed run gets a larger calendar, so the kill lands mid-run
  int collection_fault_percent = 8;  // each of Restrict, Count and Sort failing in a run
};

Scenario RandomScenario(std::uint64_t seed, HostChoice hosts, const ScenarioLimits& limits);

}  // namespace quorvel::campaign

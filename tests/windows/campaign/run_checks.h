#pragma once
// The invariants every run must keep, checked from what the run left behind against what
// the model predicts for its calendar and faults.

#include <string>
#include <vector>

#include "observed_run.h"
#include "scenario.h"
#include "touch_oracle.h"

namespace quorvel::campaign {

struct Verdict {
  std::string invariant;
  bool held = true;
  std::string detail;  // what was seen when it did not hold
};

std::vector<Verdict> CheckRun(const Scenario& run, const ExpectedRun& expected,
                              const ObservedRun& seen);

}  // namespace quorvel::campaign

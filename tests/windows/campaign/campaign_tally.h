#pragma once
// The campaign's running totals: runs, faults injected by kind, invariants checked, and the
// runs that broke one, with the seed that replays each.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "observed_run.h"
#include "run_checks.h"
#include "scenario.h"

namespace quorvel::campaign {

class CampaignTally {
 public:
  void Add(const Scenario& run, const ExpectedRun& expected, const ObservedRun& seen,
           const std::vector<Verdict>& verdicts);
  bool AllHeld() const { return failures_.empty(); }
  std::string Summary(double seconds) const;

 private:
  int runs_ = 0;
  std::map<std::string, int> runs_by_host_;
  std::map<std::string, int> faults_;
  std::map<std::string, int> checked_;
  std::int64_t invariants_checked_ = 0;
  std::int64_t saves_journalled_ = 0;
  std::vector<std::string> failures_;
};

std::string HostName(Host host);

}  // namespace quorvel::campaign

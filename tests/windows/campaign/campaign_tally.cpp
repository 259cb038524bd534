#include "campaign_tally.h"

#include <cstdio>

namespace quorvel::campaign {

std::string HostName(Host host) {
  return host == Host::kInProcess ? "inproc" : "local";
}

void CampaignTally::Add(const Scenario& run, const ExpectedRun& expected, const ObservedRun& seen,
                        const std::vector<Verdict>& verdicts) {
  ++runs_;
  ++runs_by_host_[HostName(run.host)];
  for (const auto& item : run.store.items) {
    if (item.item_class != kAppointmentClass) ++faults_["non-appointment element"];
    for (const auto& [member, error] : item.failures) ++faults_["failing " + member];
  }
  for (const auto& [member, error] : run.store.failures) {
    ++faults_["failing " + member + " (runs)"];
  }
  if (run.store.busy_after_save_ms > 0) ++faults_["busy period after saves (runs)"];
  if (seen.killed) {
    ++faults_["program killed, " + HostName(run.host)];
    if (seen.journal.size() < expected.saves.size()) ++faults_["program killed mid-run"];
    if (seen.standin_orphaned) ++faults_["stand-in outliving its killed program, ended"];
  }
  if (seen.standin_killed) {
    ++faults_["stand-in killed under the program"];
    if (seen.journal.size() < expected.saves.size()) ++faults_["stand-in killed mid-run"];
  } else if (run.kill == Scenario::Kill::kStandin) {
    ++faults_["stand-in kill not reached: the run ended first"];
  }
  saves_journalled_ += static_cast<std::int64_t>(seen.journal.size());
  for (const Verdict& verdict : verdicts) {
    ++invariants_checked_;
    ++checked_[verdict.invariant];
    if (!verdict.held) {
      failures_.push_back("seed " + std::to_string(run.seed) + " (" + HostName(run.host) +
                          "): " + verdict.invariant + ": " + verdict.detail);
    }
  }
}

std::string CampaignTally::Summary(double seconds) const {
  std::string text = "runs: " + std::to_string(runs_);
  for (const auto& [host, count] : runs_by_host_) text += ", " + host + " " + std::to_string(count);
  char time[64];
  std::snprintf(time, sizeof time, " in %.1f s\n", seconds);
  text += time;
  text += "saves journalled: " + std::to_string(saves_journalled_) + "\n";
  text += "faults injected:\n";
  for (const auto& [kind, count] : faults_)
    text += "  " + kind + ": " + std::to_string(count) + "\n";
  text += "invariants checked: " + std::to_string(invariants_checked_) + "\n";
  for (const auto& [name, count] : checked_)
    text += "  " + name + ": " + std::to_string(count) + "\n";
  text += "failures: " + std::to_string(failures_.size()) + "\n";
  for (const auto& failure : failures_) text += "  " + failure + "\n";
  return text;
}

}  // namespace quorvel::campaign

// The fault campaign: many whole runs of the real program over random calendars with random
// faults, each checked against the campaign's own model of a run.
//
//   fault_campaign PROGRAM.exe [--runs N] [--seed S] [--max-seconds T] [--host inproc|local|both]
//                  [--items N] [--kill-percent P]
// Run i uses seed S + i; a failing run is replayed with --seed <its seed> --runs 1 and the
// same --host. Exit code 0 when every invariant held.

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

#include "campaign_tally.h"
#include "random_scenario.h"
#include "run_driver.h"
#include "touch_oracle.h"

namespace {

using namespace quorvel::campaign;

struct Options {
  std::wstring program;
  int runs = 10;
  std::uint64_t seed = 0;
  bool seed_given = false;
  double max_seconds = 3600;
  HostChoice hosts = HostChoice::kBoth;
  ScenarioLimits limits;
};

bool Parse(int argc, wchar_t** argv, Options& options) {
  if (argc < 2) return false;
  options.program = argv[1];
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::wstring name = argv[i];
    const std::wstring value = argv[i + 1];
    if (name == L"--runs") {
      options.runs = std::stoi(value);
    } else if (name == L"--seed") {
      options.seed = std::stoull(value);
      options.seed_given = true;
    } else if (name == L"--max-seconds") {
      options.max_seconds = std::stod(value);
    } else if (name == L"--items") {
      options.limits.max_items = std::stoi(value);
    } else if (name == L"--kill-percent") {
      options.limits.kill_percent = std::stoi(value);
    } else if (name == L"--host") {
      if (value == L"inproc") {
        options.hosts = HostChoice::kInProcess;
      } else if (value == L"local") {
        options.hosts = HostChoice::kLocalServer;
      } else if (value == L"both") {
        options.hosts = HostChoice::kBoth;
      } else {
        return false;
      }
    } else {
      return false;
    }
  }
  return (argc % 2) == 0;
}

struct ComApartment {
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  try {
    if (!Parse(argc, argv, options)) {
      std::fputs(
          "usage: fault_campaign PROGRAM.exe [--runs N] [--seed S] [--max-seconds T] "
          "[--host inproc|local|both] [--items N] [--kill-percent P]\n",
          stderr);
      return 2;
    }
  } catch (const std::exception&) {
    std::fputs("fault_campaign: an option's value is not a number\n", stderr);
    return 2;
  }
  if (!options.seed_given) options.seed = GetTickCount64();
  std::printf("fault campaign: seed %llu, up to %d runs, up to %.0f s\n",
              static_cast<unsigned long long>(options.seed), options.runs, options.max_seconds);
  std::fflush(stdout);

  const ComApartment apartment;
  CampaignTally tally;
  const auto began = std::chrono::steady_clock::now();
  auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  };
  for (int i = 0; i < options.runs && elapsed() < options.max_seconds; ++i) {
    Scenario run =
        RandomScenario(options.seed + static_cast<std::uint64_t>(i), options.hosts, options.limits);
    const ExpectedRun expected = PredictRun(
        {run.store.items, run.range_start, run.range_end, run.boxes, run.store.failures, run.host});
    if (run.kill != Scenario::Kill::kNone) {
      const int saves = std::max(1, static_cast<int>(expected.saves.size()));
      run.kill_after_saves = 1 + (run.kill_after_saves - 1) % saves;
    }
    ObservedRun seen;
    try {
      seen = DriveRun(options.program, run);
    } catch (const std::exception& failure) {
      seen.driver_problems.push_back(std::string("driver stopped: ") + failure.what());
    }
    const auto verdicts = CheckRun(run, expected, seen);
    tally.Add(run, expected, seen, verdicts);
    int broken = 0;
    for (const auto& verdict : verdicts) broken += verdict.held ? 0 : 1;
    std::size_t faults = 0;
    for (const auto& item : run.store.items) faults += item.failures.size();
    faults += run.store.failures.size();
    std::printf("run %d seed %llu %s: %zu items, %zu faults, %zu saves (model %zu)%s, %s\n", i + 1,
                static_cast<unsigned long long>(run.seed), HostName(run.host).c_str(),
                run.store.items.size(), faults, seen.journal.size(), expected.saves.size(),
                seen.killed           ? ", program killed"
                : seen.standin_killed ? ", Outlook killed"
                                      : "",
                broken ? (std::to_string(broken) + " invariants broken").c_str() : "all held");
    for (const auto& verdict : verdicts) {
      if (!verdict.held)
        std::printf("    %s: %s\n", verdict.invariant.c_str(), verdict.detail.c_str());
    }
    std::fflush(stdout);
  }
  std::fputs(tally.Summary(elapsed()).c_str(), stdout);
  return tally.AllHeld() ? 0 : 1;
}

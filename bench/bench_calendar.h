#pragma once
// What every benchmark of a run shares: the generated calendar it runs over, what that
// calendar holds, the calls a run's steps make over it, and how the figures are printed.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "common/date_time.h"

namespace quorvel::bench {

enum class Host { kInProcess, kLocalServer };

Host ParseHost(const wchar_t* text);  // "inproc" or "local"
const char* NameOf(Host host);

// A year of appointments from 1 January 2026, a fifth of them recurring (series masters and
// exceptions), all four busy states, generated with a fixed seed so every run sees the same.
struct BenchCalendar {
  std::wstring store;  // the stand-in's store file, registered for this process
  std::int64_t elements = 0;
  std::int64_t appointments = 0;
  std::int64_t recurring = 0;  // recurrence state 1 or 3
  // Busy states the window's four boxes (all checked) choose: 0 to 3; the generator also
  // makes states beyond them, which no run touches.
  std::int64_t chosen = 0;
  std::int64_t chosen_recurring = 0;
  DateTime first_day;  // the range a benchmark run chooses: the whole calendar
  DateTime last_day;
};

// Registers the host, writes the calendar and points the stand-in at it.
BenchCalendar MakeBenchCalendar(Host host, std::int64_t appointments, const std::wstring& name);

// The stand-in's calls the two passes' steps make over the whole calendar with all four busy
// states chosen: what a run cannot do with less while it follows its steps.
std::int64_t StepCalls(const BenchCalendar& calendar);

// Members the stand-in served; the message filter's own counts are the COM runtime's, not ours.
std::uint64_t MemberCalls(const std::map<std::string, std::uint64_t>& counts);
// Calls that crossed the process boundary (out of process only, 0 in process).
std::uint64_t RoundTrips(const std::map<std::string, std::uint64_t>& counts);

// Waits for an out-of-process stand-in to end, then reads what it counted.
std::map<std::string, std::uint64_t> CountsAfterRun(Host host, const std::wstring& store);

std::uint64_t PeakWorkingSetBytes(HANDLE process);

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to);
LARGE_INTEGER Now();

// One result line: "key=value" pairs the bench script collects into its table.
void PrintResult(const std::map<std::string, std::string>& fields);
// Under it, what the stand-in served of each member, in all and per appointment.
void PrintCounts(const std::map<std::string, std::uint64_t>& counts, double appointments);

// A benchmark's body, its failure printed as the program would name it; 1 when it failed.
int ReportingFailure(const std::function<int()>& body);
std::string Fixed(double value, int decimals);

}  // namespace quorvel::bench

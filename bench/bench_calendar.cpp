#include "bench_calendar.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "calendar/calendar_generator.h"
#include "common/error.h"
#include "harness/standin_harness.h"

namespace quorvel::bench {

Host ParseHost(const wchar_t* text) {
  if (std::wcscmp(text, L"inproc") == 0) return Host::kInProcess;
  if (std::wcscmp(text, L"local") == 0) return Host::kLocalServer;
  throw std::invalid_argument("the host is inproc or local");
}

const char* NameOf(Host host) {
  return host == Host::kInProcess ? "inproc" : "local";
}

namespace {

// QUORVEL_BENCH_LATENCY="CALL/SAVE" gives the stand-in a real Outlook's pace: CALL ms for
// every call it serves, SAVE ms more for every Save. "0/0", or unset, is the stand-in's own.
struct Latency {
  int call_ms = 0;
  int save_ms = 0;
};

Latency LatencyAsked() {
  Latency latency;
  if (const char* text = std::getenv("QUORVEL_BENCH_LATENCY")) {
    std::sscanf(text, "%d/%d", &latency.call_ms, &latency.save_ms);
  }
  return latency;
}

}  // namespace

BenchCalendar MakeBenchCalendar(Host host, std::int64_t appointments, const std::wstring& name) {
  testing::RegisterStandin(host == Host::kInProcess ? testing::Host::kInProcess
                                                    : testing::Host::kLocalServer);
  standin::CalendarOptions options;
  options.appointments = static_cast<std::size_t>(appointments);
  options.seed = 20261208;
  options.firstDay = {2026, 1, 1, 0, 0, 0};
  options.days = 365;
  options.recurringShare = 0.1;
  options.exceptionShare = 0.1;
  std::string document = standin::GenerateCalendar(options);
  if (const Latency latency = LatencyAsked(); latency.call_ms > 0 || latency.save_ms > 0) {
    auto with_latency = nlohmann::json::parse(document);
    with_latency["latency"] = {{"callMs", latency.call_ms}, {"saveMs", latency.save_ms}};
    document = with_latency.dump();
  }

  BenchCalendar calendar;
  calendar.store = testing::WriteStoreDocument(document, name);
  const auto parsed = nlohmann::json::parse(document);
  for (const auto& item : parsed.at("items")) {
    ++calendar.elements;
    if (item.value("class", 26) != 26) continue;
    ++calendar.appointments;
    const int recurrence = item.value("recurrence", 0);
    const bool recurring = recurrence == 1 || recurrence == 3;
    const int busy = item.value("busy", 2);
    const bool chosen = busy >= 0 && busy <= 3;
    calendar.recurring += recurring;
    calendar.chosen += chosen;
    calendar.chosen_recurring += recurring && chosen;
  }
  calendar.first_day = {2026, 1, 1, 0, 0, 0};
  calendar.last_day = CivilFromDays(DaysFromCivil(2026, 1, 1) + options.days);
  return calendar;
}

namespace {
// Elements come sixteen to a fetch; the pass ends at the first fetch that brings none.
std::int64_t Fetches(std::int64_t elements) {
  return (elements + 15) / 16 + 1;
}
}  // namespace

std::int64_t StepCalls(const BenchCalendar& calendar) {
  const std::int64_t elements = calendar.elements;
  const std::int64_t appointments = calendar.appointments;
  // Getting there: Items by name and the first enumerator.
  std::int64_t calls = 1 + 1;
  // Pass 1: every element is fetched and told apart; every appointment is tested for
  // recurrence and written into the progress text (subject and start); a recurring one is
  // tested for its busy state and, when chosen, its subject read, written and saved.
  calls += Fetches(elements) + elements + appointments * (1 + 2) + calendar.recurring +
           calendar.chosen_recurring * 3;
  // The range: Restrict, Count, Sort and a new enumerator.
  calls += 4;
  // Pass 2 over the whole calendar: progress text and busy state of each, the touch of the
  // chosen.
  calls += Fetches(elements) + elements + appointments * (2 + 1) + calendar.chosen * 3;
  return calls;
}

std::uint64_t MemberCalls(const std::map<std::string, std::uint64_t>& counts) {
  std::uint64_t calls = 0;
  for (const auto& [name, served] : counts) {
    if (name.rfind("IMessageFilter.", 0) != 0) calls += served;
  }
  return calls;
}

std::uint64_t RoundTrips(const std::map<std::string, std::uint64_t>& counts) {
  const auto found = counts.find("IMessageFilter.HandleInComingCall");
  return found == counts.end() ? 0 : found->second;
}

std::map<std::string, std::uint64_t> CountsAfterRun(Host host, const std::wstring& store) {
  // A run that found no explorer has had Outlook open one, and an Outlook with an explorer
  // stays when its last client goes: the user closes it.
  if (host == Host::kLocalServer) {
    while (HWND explorer = FindWindowW(L"QuorvelStandinExplorer", nullptr)) {
      PostMessageW(explorer, WM_CLOSE, 0, 0);
      if (!testing::WaitForLocalServerExit(2000) && IsWindow(explorer)) break;
    }
  }
  if (host == Host::kLocalServer && !testing::WaitForLocalServerExit(120000)) {
    throw std::runtime_error("the stand-in did not exit; its counts are not written");
  }
  return testing::ReadCallCounts(store);
}

std::uint64_t PeakWorkingSetBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize;
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void PrintResult(const std::map<std::string, std::string>& fields) {
  const Latency latency = LatencyAsked();
  std::string line =
      "RESULT latency=" + std::to_string(latency.call_ms) + "/" + std::to_string(latency.save_ms);
  for (const auto& [key, value] : fields) line += " " + key + "=" + value;
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

void PrintCounts(const std::map<std::string, std::uint64_t>& counts, double appointments) {
  for (const auto& [name, served] : counts) {
    std::printf("  %-36s %10llu  %.3f per appointment\n", name.c_str(),
                static_cast<unsigned long long>(served), served / appointments);
  }
}

int ReportingFailure(const std::function<int()>& body) {
  try {
    return body();
  } catch (const Error& error) {
    std::fwprintf(stderr, L"failed: %d %ls (%ls)\n", error.number(),
                  error.record().description.c_str(), error.record().source.c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "failed: %s\n", error.what());
  }
  return 1;
}

}  // namespace quorvel::bench

// The floor under an import run: the COM calls of a run in a bare loop with no window,
// through the program's own Outlook port, over the benchmarks' generated calendar.
//
//   floor_bench.exe COUNT [inproc|local] [loop|passes]
//
// "loop" makes one pass with the calls a run makes for a chosen appointment (recurrence
// state, busy status, subject read and write, save, start). "passes" makes exactly the calls
// of the run's two passes, range and sort included, so that what a whole run takes beyond it
// is the window's and the program's own cost.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "bench_calendar.h"
#include "common/com/apartment.h"
#include "common/error.h"
#include "outlook/com/com_object_factory.h"
#include "touch/touch_texts.h"
#include "window/win32/regional_formats.h"

namespace {

using namespace quorvel;
using outlook::Advance;
using outlook::AppointmentItem;

struct LoopResult {
  long long appointments = 0;  // appointment visits, over both passes for "passes"
  double seconds = 0;
};

// Reads that only feed a text the floor never builds must still be made, and kept.
volatile std::int64_t sink = 0;
void Use(std::int64_t value) {
  sink = sink + value;
}
void Use(const std::wstring& text) {
  Use(static_cast<std::int64_t>(text.size()));
}
void Use(const DateTime& value) {
  Use(value.year);
}

void Touch(AppointmentItem& item) {
  item.SetSubject(item.Subject() + L" ");
  item.Save();
}

// All four of the window's boxes checked.
bool Chosen(AppointmentItem& item) {
  const std::int32_t busy = item.BusyStatus();
  return busy >= 0 && busy <= 3;
}

template <class Visit>
long long ForEachAppointment(outlook::Items& items, Visit visit) {
  long long visited = 0;
  auto enumeration = items.Enumerate();
  std::shared_ptr<AppointmentItem> item;
  outlook::Unexamined unexamined;
  for (;;) {
    const Advance step = enumeration->Next(item, unexamined);
    if (step == Advance::kEnd) break;
    if (step != Advance::kAppointment) continue;
    visit(*item);
    ++visited;
  }
  return visited;
}

long long Loop(outlook::Items& items) {
  return ForEachAppointment(items, [](AppointmentItem& item) {
    Use(item.RecurrenceState());
    Use(item.BusyStatus());
    Touch(item);
    Use(item.Start());
  });
}

long long Passes(outlook::Items& items, const bench::BenchCalendar& calendar) {
  long long visits = ForEachAppointment(items, [](AppointmentItem& item) {
    const std::int32_t recurrence = item.RecurrenceState();
    if ((recurrence == 1 || recurrence == 3) && Chosen(item)) Touch(item);
    Use(item.Subject());
    Use(item.Start());
  });
  win32::RegionalFormats formats;
  const auto range =
      items.Restrict(touch::RangeFilter(formats.ShortDate(calendar.first_day) + L" 00:00 am",
                                        formats.ShortDate(calendar.last_day) + L" 23:59 pm"));
  if (Need(range).Count() == 0) return visits;
  range->Sort(L"[Start]");
  visits += ForEachAppointment(*range, [](AppointmentItem& item) {
    Use(item.Subject());
    Use(item.Start());
    if (Chosen(item)) Touch(item);
  });
  return visits;
}

LoopResult Run(const bench::BenchCalendar& calendar, bool passes) {
  com::Apartment apartment;
  auto factory = outlook::com::MakeComObjectFactory();
  auto application = factory->CreateApplication(L"Outlook.Application");
  auto mapi = application->GetNamespace(L"MAPI");
  auto folder = Need(mapi).GetDefaultFolder(outlook::kFolderCalendar);

  const LARGE_INTEGER started = bench::Now();
  auto items = Need(folder).Items();
  LoopResult result;
  result.appointments = passes ? Passes(Need(items), calendar) : Loop(Need(items));
  result.seconds = bench::Seconds(started, bench::Now());
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: floor_bench COUNT [inproc|local] [loop|passes]\n");
    return 2;
  }
  return bench::ReportingFailure([&] {
    const long long count = _wtoi64(argv[1]);
    const bench::Host host = argc > 2 ? bench::ParseHost(argv[2]) : bench::Host::kInProcess;
    const bool passes = argc > 3 && std::wcscmp(argv[3], L"passes") == 0;
    const auto calendar =
        bench::MakeBenchCalendar(host, count, L"floor-bench-" + std::to_wstring(count));
    const LoopResult loop = Run(calendar, passes);
    const std::uint64_t peak = bench::PeakWorkingSetBytes(GetCurrentProcess());
    const auto counts = bench::CountsAfterRun(host, calendar.store);
    const std::uint64_t calls = bench::MemberCalls(counts);
    const double appointments = double(calendar.appointments);
    bench::PrintResult({
        {"kind", passes ? "floor-passes" : "floor-loop"},
        {"host", bench::NameOf(host)},
        {"appointments", std::to_string(calendar.appointments)},
        {"seconds", bench::Fixed(loop.seconds, 3)},
        {"appointments_per_second", bench::Fixed(appointments / loop.seconds, 0)},
        {"calls_per_appointment", bench::Fixed(calls / appointments, 2)},
        {"round_trips_per_appointment", bench::Fixed(bench::RoundTrips(counts) / appointments, 2)},
        {"peak_working_set_mb", bench::Fixed(peak / 1048576.0, 1)},
    });
    bench::PrintCounts(counts, appointments);
    const long long expected = passes ? 2 * calendar.appointments : calendar.appointments;
    return loop.appointments == expected ? 0 : 1;
  });
}

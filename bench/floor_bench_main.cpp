// The floor under an import run: the COM calls a run makes per appointment, in a bare loop
// with no window, through the program's own Outlook port. Prints appointments per second and
// the stand-in's calls per appointment.
//
//   floor_bench.exe COUNT [inproc|local]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "common/com/apartment.h"
#include "common/error.h"
#include "harness/standin_harness.h"
#include "outlook/com/com_object_factory.h"

namespace {

using quorvel::testing::Host;

quorvel::testing::StandinStore GeneratedCalendar(int count) {
  quorvel::testing::StandinStore store;
  store.explorer = false;
  store.items.reserve(count);
  const std::int64_t first_day = quorvel::DaysFromCivil(2026, 1, 1);
  for (int i = 0; i < count; ++i) {
    quorvel::testing::StandinItem item;
    item.id = "bench-" + std::to_string(i);
    item.subject = L"Appointment " + std::to_wstring(i);
    item.start = quorvel::CivilFromDays(first_day + i / 8);
    item.start.hour = 8 + i % 8;
    item.busy = i % 4;
    item.recurrence = i % 10 == 0 ? 1 : 0;
    store.items.push_back(std::move(item));
  }
  return store;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

struct LoopResult {
  long long appointments = 0;
  double seconds = 0;
};

// The calls of one pass: each element's Class (inside the advance), then RecurrenceState,
// BusyStatus, Subject read and write, Save and Start, as a run does for a chosen appointment.
LoopResult RunLoop() {
  quorvel::com::Apartment apartment;
  auto factory = quorvel::outlook::com::MakeComObjectFactory();
  auto application = factory->CreateApplication(L"Outlook.Application");
  auto mapi = application->GetNamespace(L"MAPI");
  auto calendar = quorvel::Need(mapi).GetDefaultFolder(quorvel::outlook::kFolderCalendar);
  auto items = quorvel::Need(calendar).Items();

  LoopResult result;
  LARGE_INTEGER started;
  LARGE_INTEGER finished;
  QueryPerformanceCounter(&started);
  auto enumeration = quorvel::Need(items).Enumerate();
  std::shared_ptr<quorvel::outlook::AppointmentItem> item;
  for (;;) {
    const auto step = enumeration->Next(item);
    if (step == quorvel::outlook::Advance::kEnd) break;
    if (step != quorvel::outlook::Advance::kAppointment) continue;
    volatile std::int32_t recurrence = item->RecurrenceState();
    volatile std::int32_t busy = item->BusyStatus();
    (void)recurrence;
    (void)busy;
    item->SetSubject(item->Subject() + L" ");
    item->Save();
    volatile int year = item->Start().year;
    (void)year;
    ++result.appointments;
  }
  QueryPerformanceCounter(&finished);
  result.seconds = Seconds(started, finished);
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: floor_bench COUNT [inproc|local]\n");
    return 2;
  }
  const int count = _wtoi(argv[1]);
  const Host host =
      argc > 2 && std::wcscmp(argv[2], L"local") == 0 ? Host::kLocalServer : Host::kInProcess;
  try {
    quorvel::testing::RegisterStandin(host);
    const std::wstring store = quorvel::testing::WriteStore(
        GeneratedCalendar(count), L"floor-bench-" + std::to_wstring(count));
    const LoopResult loop = RunLoop();
    if (host == Host::kLocalServer && !quorvel::testing::WaitForLocalServerExit(60000)) {
      std::fwprintf(stderr, L"the stand-in did not exit; its counts are not written\n");
    }
    const auto counts = quorvel::testing::ReadCallCounts(store);
    std::uint64_t calls = 0;
    for (const auto& [name, served] : counts) calls += served;
    const double per_appointment = loop.appointments ? double(calls) / loop.appointments : 0;
    std::printf(
        "host=%s appointments=%lld seconds=%.3f appointments_per_second=%.0f "
        "standin_calls=%llu calls_per_appointment=%.2f\n",
        host == Host::kInProcess ? "inproc" : "local", loop.appointments, loop.seconds,
        loop.seconds > 0 ? loop.appointments / loop.seconds : 0.0,
        static_cast<unsigned long long>(calls), per_appointment);
    for (const auto& [name, served] : counts) {
      std::printf("  %-28s %10llu  %.3f per appointment\n", name.c_str(),
                  static_cast<unsigned long long>(served),
                  loop.appointments ? double(served) / loop.appointments : 0.0);
    }
    return loop.appointments == count ? 0 : 1;
  } catch (const quorvel::Error& error) {
    std::fwprintf(stderr, L"failed: %d %ls (%ls)\n", error.number(),
                  error.record().description.c_str(), error.record().source.c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "failed: %s\n", error.what());
  }
  return 1;
}

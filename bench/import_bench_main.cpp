// A whole import timed as a user sees it, and the same job done by the script an
// administrator would write instead.
//
//   import_bench.exe program COUNT inproc|local PATH-OF-QuorvelImport.exe
//       starts the program, chooses the whole calendar, clicks "Start import" and times the
//       run until the closing box shows; reads the program's peak working set before closing.
//   import_bench.exe script COUNT inproc|local PATH-OF-touch_calendar.vbs
//       runs the script with cscript and times it the same way: from its first touch to its end.
//   A last argument --max-round-trips=N fails the benchmark when the stand-in counted more
//   round trips per appointment than N, so that a regression in the calls a run makes shows.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <stdexcept>
#include <string>

#include "bench_calendar.h"
#include "store/text_encoding.h"
#include "common/error.h"
#include "controls.h"
#include "input.h"
#include "message_box.h"
#include "program.h"
#include "remote_picker.h"

namespace {

using namespace quorvel;
using namespace quorvel::test_driver;

constexpr wchar_t kCaption[] = L"Import existing appointments";
constexpr wchar_t kFinished[] = L"Import finished           ";
constexpr Duration kRunTimeout{3600 * 1000};

struct Outcome {
  double seconds = 0;
  std::uint64_t peak_bytes = 0;
  std::string detail;  // what the run showed at its end
};

// The wait for the closing box must not load the machine whose run it times: every look at
// the desktop costs wineserver requests the program and Outlook are waiting for as well, and
// a look every 20 ms over a ten-minute run adds up to seconds. It looks again after a
// thousandth of the time gone by (at least 20 ms, at most one second), so the figure stays
// within 0.1 % of the run.
HWND WaitForClosingBox(DWORD process_id, LARGE_INTEGER clicked) {
  for (;;) {
    if (HWND box = WaitForMessageBox(process_id, Duration{0})) return box;
    const double elapsed_ms = 1000 * bench::Seconds(clicked, bench::Now());
    if (elapsed_ms > double(kRunTimeout.count())) return nullptr;
    Sleep(static_cast<DWORD>(std::clamp(elapsed_ms / 1000, 20.0, 1000.0)));
  }
}

Outcome RunProgram(const bench::BenchCalendar& calendar, const std::wstring& program_path) {
  Program program(program_path);
  const HWND window = program.WaitForWindow(kCaption, true, Duration{60000});
  if (!window) throw std::runtime_error("the window did not show");
  if (HWND box = WaitForMessageBox(program.process_id(), Duration{300})) {
    throw std::runtime_error("a start-up box: " + standin::WideToUtf8(ReadMessageBox(box).text));
  }
  if (!SetPickerValue(ControlByName(window, L"DTPstartdatum"), Moment(calendar.first_day)) ||
      !SetPickerValue(ControlByName(window, L"DTPeinddatum"), Moment(calendar.last_day))) {
    throw std::runtime_error("the date range could not be set");
  }

  Outcome outcome;
  const LARGE_INTEGER clicked = bench::Now();
  Click(ControlByName(window, L"cmdImport"));
  const HWND box = WaitForClosingBox(program.process_id(), clicked);
  if (!box) throw std::runtime_error("no closing box within the run's time limit");
  outcome.seconds = bench::Seconds(clicked, bench::Now());
  const MessageBoxView view = ReadMessageBox(box);
  PressOk(box);
  if (view.text != kFinished) {
    throw std::runtime_error("an unexpected box: " + standin::WideToUtf8(view.text));
  }
  outcome.peak_bytes = bench::PeakWorkingSetBytes(program.process());
  outcome.detail = "shown_count=" + standin::WideToUtf8(Text(ControlByName(window, L"Text1")));
  CloseBySystemMenu(window);
  if (!program.WaitForExit(Duration{60000})) throw std::runtime_error("closing did not end it");
  return outcome;
}

// cscript's output, read until it exits; a run past the limit is killed and fails.
Outcome RunScript(const std::wstring& script_path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) throw std::runtime_error("CreatePipe");
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = L"cscript.exe //NoLogo \"" + WindowsPath(script_path) + L"\"";
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(write_end);
  if (!started) {
    CloseHandle(read_end);
    throw std::runtime_error("cscript could not be started");
  }
  CloseHandle(process.hThread);
  std::string output;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got)
    output.append(buffer, got);
  CloseHandle(read_end);
  Outcome outcome;
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    throw std::runtime_error("cscript did not end");
  }
  outcome.peak_bytes = bench::PeakWorkingSetBytes(process.hProcess);
  DWORD exit_code = 1;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hProcess);
  const auto at = output.find("seconds=");
  if (exit_code != 0 || at == std::string::npos) {
    throw std::runtime_error("the script failed: " + output);
  }
  outcome.seconds = std::strtod(output.c_str() + at + 8, nullptr);
  const auto touched = output.find("touched=");
  outcome.detail = touched == std::string::npos
                       ? std::string()
                       : output.substr(touched, output.find_first_of(" \r\n", touched) - touched);
  return outcome;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5 || (std::wcscmp(argv[1], L"program") != 0 && std::wcscmp(argv[1], L"script") != 0)) {
    std::fwprintf(stderr,
                  L"usage: import_bench program|script COUNT inproc|local PATH "
                  L"[--max-round-trips=N]\n");
    return 2;
  }
  return bench::ReportingFailure([&] {
    const bool program = std::wcscmp(argv[1], L"program") == 0;
    const long long count = _wtoi64(argv[2]);
    const bench::Host host = bench::ParseHost(argv[3]);
    const auto calendar = bench::MakeBenchCalendar(
        host, count, L"import-bench-" + std::to_wstring(count) + (program ? L"" : L"-script"));
    double max_round_trips = 0;
    if (argc > 5 && std::wcsncmp(argv[5], L"--max-round-trips=", 18) == 0) {
      max_round_trips = std::wcstod(argv[5] + 18, nullptr);
    }
    const Outcome outcome = program ? RunProgram(calendar, argv[4]) : RunScript(argv[4]);
    const auto counts = bench::CountsAfterRun(host, calendar.store);
    const double appointments = double(calendar.appointments);
    const std::uint64_t calls = bench::MemberCalls(counts);
    std::map<std::string, std::string> fields{
        {"kind", program ? "program" : "script"},
        {"host", bench::NameOf(host)},
        {"appointments", std::to_string(calendar.appointments)},
        {"seconds", bench::Fixed(outcome.seconds, 3)},
        {"appointments_per_second", bench::Fixed(appointments / outcome.seconds, 0)},
        {"calls_per_appointment", bench::Fixed(calls / appointments, 2)},
        {"round_trips_per_appointment", bench::Fixed(bench::RoundTrips(counts) / appointments, 2)},
        {"peak_working_set_mb", bench::Fixed(outcome.peak_bytes / 1048576.0, 1)},
    };
    if (program) {
      fields["step_calls_per_appointment"] =
          bench::Fixed(bench::StepCalls(calendar) / appointments, 2);
    }
    const auto equals = outcome.detail.find('=');
    if (equals != std::string::npos) {
      fields[outcome.detail.substr(0, equals)] = outcome.detail.substr(equals + 1);
    }
    bench::PrintResult(fields);
    bench::PrintCounts(counts, appointments);
    // A run that left appointments out is no benchmark: the program counts each recurring
    // one in its first pass and every one in its second; the script touches each chosen one once.
    const std::string expected =
        program ? "shown_count=" + std::to_string(calendar.recurring + calendar.appointments)
                : "touched=" + std::to_string(calendar.chosen);
    if (outcome.detail != expected) {
      std::fprintf(stderr, "incomplete run: %s, expected %s\n", outcome.detail.c_str(),
                   expected.c_str());
      return 1;
    }
    const double round_trips = bench::RoundTrips(counts) / appointments;
    if (max_round_trips > 0 && round_trips > max_round_trips) {
      std::fprintf(stderr, "%.2f round trips per appointment, more than the goal of %.2f\n",
                   round_trips, max_round_trips);
      return 1;
    }
    return 0;
  });
}

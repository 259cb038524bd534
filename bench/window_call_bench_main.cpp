// A whole import call in the real window, inside this process, with its repaints timed:
// the window's controls are wrapped so that every refresh is measured, and its boxes are
// recorded instead of shown so that nothing waits for a user.
//
//   window_call_bench.exe COUNT [inproc|local]

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_calendar.h"
#include "common/com/apartment.h"
#include "common/error.h"
#include "outlook/com/com_object_factory.h"
#include "window/frm_import.h"
#include "window/win32/clock.h"
#include "window/win32/desktop.h"
#include "window/win32/form_controls.h"
#include "window/win32/import_window.h"
#include "window/win32/regional_formats.h"

namespace {

using namespace quorvel;

class TimedRefreshes final : public FormControls {
 public:
  explicit TimedRefreshes(FormControls& inner) : inner_(inner) {}

  DateTime PickerValue(Picker picker) override { return inner_.PickerValue(picker); }
  void SetPickerValue(Picker picker, const DateTime& value) override {
    inner_.SetPickerValue(picker, value);
  }
  int CheckBoxValue(CheckBox box) override { return inner_.CheckBoxValue(box); }
  void SetText1(const std::wstring& text) override {
    const LARGE_INTEGER started = bench::Now();
    inner_.SetText1(text);
    count_seconds += bench::Seconds(started, bench::Now());
  }
  void SetProgressCaption(const std::wstring& caption) override {
    const LARGE_INTEGER started = bench::Now();
    inner_.SetProgressCaption(caption);
    text_seconds += bench::Seconds(started, bench::Now());
  }
  void Refresh() override {
    const LARGE_INTEGER started = bench::Now();
    inner_.Refresh();
    seconds += bench::Seconds(started, bench::Now());
    ++refreshes;
  }
  NativeHandle WindowHandle() override { return inner_.WindowHandle(); }

  double seconds = 0;        // in refreshes
  double text_seconds = 0;   // in setting the progress caption
  double count_seconds = 0;  // in setting the count
  long long refreshes = 0;

 private:
  FormControls& inner_;
};

class RecordedBoxes final : public Desktop {
 public:
  explicit RecordedBoxes(Desktop& inner) : inner_(inner) {}
  void ShowMessage(const std::wstring& text, unsigned,
                   const std::optional<std::wstring>&) override {
    texts.push_back(text);
  }
  void SetMousePointer(int pointer) override { inner_.SetMousePointer(pointer); }
  bool SetWindowPos(NativeHandle window, NativeHandle insert_after, int x, int y, int cx, int cy,
                    unsigned flags) override {
    return inner_.SetWindowPos(window, insert_after, x, y, cx, cy, flags);
  }
  std::vector<std::wstring> texts;

 private:
  Desktop& inner_;
};

void PumpPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: window_call_bench COUNT [inproc|local]\n");
    return 2;
  }
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  return bench::ReportingFailure([&] {
    const long long count = _wtoi64(argv[1]);
    const bench::Host host = argc > 2 ? bench::ParseHost(argv[2]) : bench::Host::kInProcess;
    const auto calendar =
        bench::MakeBenchCalendar(host, count, L"window-call-bench-" + std::to_wstring(count));
    double seconds = 0;
    std::vector<std::wstring> boxes;
    {
      com::Apartment apartment;
      win32::MousePointer pointer;
      win32::ImportWindow window(GetModuleHandleW(nullptr), pointer);
      win32::FormControls controls(window);
      TimedRefreshes timed(controls);
      win32::Desktop desktop(window.handle(), pointer);
      RecordedBoxes recorded(desktop);
      win32::Clock clock;
      win32::RegionalFormats formats;
      const auto objects = outlook::com::MakeComObjectFactory();
      frmImport form(Platform{timed, recorded, clock, formats, *objects});
      form.Form_Load();
      window.Show();
      PumpPending();
      timed.SetPickerValue(Picker::kStart, calendar.first_day);
      timed.SetPickerValue(Picker::kEnd, calendar.last_day);
      PumpPending();
      timed.seconds = 0;
      timed.text_seconds = 0;
      timed.count_seconds = 0;
      timed.refreshes = 0;
      const LARGE_INTEGER started = bench::Now();
      form.cmdImport_Click();
      seconds = bench::Seconds(started, bench::Now());
      boxes = recorded.texts;
      bench::PrintResult({
          {"kind", "window-call"},
          {"host", bench::NameOf(host)},
          {"appointments", std::to_string(calendar.appointments)},
          {"seconds", bench::Fixed(seconds, 3)},
          {"appointments_per_second", bench::Fixed(calendar.appointments / seconds, 0)},
          {"refreshes", std::to_string(timed.refreshes)},
          {"refresh_seconds", bench::Fixed(timed.seconds, 3)},
          {"refresh_ms_per_element",
           bench::Fixed(timed.seconds * 1000 / double(calendar.elements), 4)},
          {"refresh_ms_each", bench::Fixed(timed.seconds * 1000 / double(timed.refreshes), 4)},
          {"caption_ms_per_element",
           bench::Fixed(timed.text_seconds * 1000 / double(calendar.elements), 4)},
          {"count_ms_per_element",
           bench::Fixed(timed.count_seconds * 1000 / double(calendar.elements), 4)},
          {"peak_working_set_mb",
           bench::Fixed(bench::PeakWorkingSetBytes(GetCurrentProcess()) / 1048576.0, 1)},
      });
    }
    for (const auto& text : boxes) std::wprintf(L"  box: %ls\n", text.c_str());
    const bool finished = !boxes.empty() && boxes.back() == L"Import finished           ";
    return finished && boxes.size() == 1 ? 0 : 1;
  });
}

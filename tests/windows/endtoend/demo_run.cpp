// demo_run PROGRAM OUTPUT-FOLDER: one import as the demo shows it, inside a Wine virtual
// desktop. Starts the program, answers its start-up boxes, sets the end date five days on, and
// saves the window before the run, while the progress text shows, and after it, and the closing
// box, as BMP files in the folder (window.bmp, window-running.bmp, window-finished.bmp,
// closing-box.bmp). What it saw goes to report.txt there, ending with "DONE" and the exit code: the
// desktop's launcher gives a program no console.

#include <windows.h>

#include <cstdio>
#include <string>

#include "controls.h"
#include "input.h"
#include "message_box.h"
#include "program.h"
#include "remote_picker.h"
#include "screen_capture.h"
#include "window/layout.h"

namespace {

using namespace quorvel::test_driver;
using quorvel::demo::SaveScreenRect;
using quorvel::demo::SaveWindow;

constexpr wchar_t kFinishedPrefix[] = L"IMPORT FINISHED";
constexpr wchar_t kClosingBoxText[] = L"Import finished           ";

FILE* report = nullptr;

void Note(const wchar_t* kind, const std::wstring& text) {
  fwprintf(report, L"%ls %ls\n", kind, text.c_str());
  fflush(report);
}

// A window's text without sending it a message: the program pumps none while it runs.
std::wstring QuietText(HWND window) {
  wchar_t text[1024] = {};
  InternalGetWindowText(window, text, 1024);
  return text;
}

// The stand-in Outlook's explorer, which the program's launch of "Outlook.exe" opens.
HWND FindOutlookExplorer() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM l) -> BOOL {
        const std::wstring caption = QuietText(window);
        const std::wstring tail = L" - Outlook stand-in";
        if (!IsWindowVisible(window) || caption.size() < tail.size() ||
            caption.compare(caption.size() - tail.size(), tail.size(), tail) != 0) {
          return TRUE;
        }
        *reinterpret_cast<HWND*>(l) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void Save(HWND window, const std::wstring& folder, const wchar_t* name) {
  const std::wstring path = folder + L"\\" + name;
  Note(SaveWindow(window, path) ? L"SCREENSHOT" : L"NO-SCREENSHOT", name);
}

int Demo(const std::wstring& executable, const std::wstring& folder) {
  Program program(executable);
  const std::wstring caption(quorvel::layout::kWindowCaption);
  HWND window = WaitFor(
      [&]() -> HWND {
        if (HWND box = WaitForMessageBox(program.process_id(), Duration{50})) {
          const MessageBoxView view = ReadMessageBox(box);
          Note(L"START-UP-BOX",
               L"\"" + view.title + L"\" " + NameOf(view.icon) + L": " + view.text);
          PressOk(box);
        }
        return program.WaitForWindow(caption, true, Duration{50});
      },
      Duration{60000});
  if (!window) {
    Note(L"FAILED", L"the window did not show");
    return 1;
  }

  // Outlook's explorer comes up a moment after the window; the window goes back on top of it.
  if (WaitFor([] { return FindOutlookExplorer(); }, Duration{15000})) {
    Note(L"OUTLOOK", L"explorer window open");
    Sleep(500);
  }
  SetForegroundWindow(window);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  // The user widens the range to the next five days, as the start-date rule would.
  HWND end_picker = ControlByName(window, L"DTPeinddatum");
  if (const auto today = PickerValue(end_picker)) {
    FILETIME moment{};
    SystemTimeToFileTime(&*today, &moment);
    ULARGE_INTEGER ticks{{moment.dwLowDateTime, moment.dwHighDateTime}};
    ticks.QuadPart += 5ull * 24 * 3600 * 10000000;
    moment = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME later{};
    FileTimeToSystemTime(&moment, &later);
    SetPickerValue(end_picker, later);
  }
  Sleep(700);
  Save(window, folder, L"window.bmp");

  HWND progress = ControlByName(window, L"voortgang");
  const ULONGLONG clicked = GetTickCount64();
  Click(ControlByName(window, L"cmdImport"));

  // The moment the progress text shows, the window is saved as it is.
  const bool running = WaitFor(
      [&] {
        const std::wstring text = QuietText(progress);
        return !text.empty() && text.rfind(kFinishedPrefix, 0) != 0;
      },
      Duration{60000});
  if (running) {
    Save(window, folder, L"window-running.bmp");
    // A second later the run is well under way, the count showing; unless it has ended.
    Sleep(1000);
    const std::wstring later = QuietText(progress);
    if (!later.empty() && later.rfind(kFinishedPrefix, 0) != 0) {
      Save(window, folder, L"window-running.bmp");
    }
    Note(L"PROGRESS", QuietText(progress));
  } else {
    Note(L"NO-PROGRESS", L"no progress text was seen");
  }

  bool finished = false;
  for (int boxes = 0; boxes < 5 && !finished; ++boxes) {
    HWND box = WaitForMessageBox(program.process_id(), Duration{300000});
    if (!box) break;
    const MessageBoxView view = ReadMessageBox(box);
    finished = view.text == kClosingBoxText;
    if (finished) {
      Note(L"RUN-SECONDS", std::to_wstring((GetTickCount64() - clicked) / 1000.0));
      Sleep(300);
      Save(box, folder, L"closing-box.bmp");
    } else if (view.icon == BoxIcon::kExclamation) {
      Save(box, folder, L"outcome-box.bmp");  // a run that left work undone says so first
    }
    Note(L"BOX", L"\"" + view.title + L"\" " + NameOf(view.icon) + L": \"" + view.text + L"\"");
    PressOk(box);
  }
  if (!finished) {
    Note(L"FAILED", L"no closing box");
    return 1;
  }
  Sleep(500);
  Save(window, folder, L"window-finished.bmp");
  Note(L"FINAL-PROGRESS", Text(progress));
  Note(L"FINAL-COUNT", Text(ControlByName(window, L"Text1")));

  CloseBySystemMenu(window);
  if (!program.WaitForExit(Duration{20000})) {
    Note(L"FAILED", L"closing the window did not end the program");
    return 1;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  if (argc < 3) return 2;
  const std::wstring folder = argv[2];
  report = _wfopen((folder + L"\\report.txt").c_str(), L"w");
  if (!report) return 2;
  int result = 1;
  try {
    result = Demo(argv[1], folder);
  } catch (const std::exception& failure) {
    fprintf(report, "FAILED %s\n", failure.what());
  }
  fwprintf(report, L"DONE %d\n", result);
  fclose(report);
  return result;
}

// window_probe [SECONDS [OUTPUT-FILE]]: for scripts. Waits for the program's window (by its
// caption), answers (and prints) each message box its process shows first, then prints the
// window's outer rectangle on the screen as "WINDOW left top width height".

#include <windows.h>

#include <cstdio>
#include <string>

#include "controls.h"
#include "message_box.h"
#include "program.h"
#include "window/layout.h"

namespace {

using namespace quorvel::test_driver;

struct Found {
  HWND window = nullptr;
  DWORD process_id = 0;
};

Found FindByCaption(const std::wstring& caption) {
  Found found;
  struct Search {
    const std::wstring* caption;
    Found* found;
  } search{&caption, &found};
  EnumWindows(
      [](HWND window, LPARAM l) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(l);
        if (Text(window) != *s.caption) return TRUE;
        s.found->window = window;
        GetWindowThreadProcessId(window, &s.found->process_id);
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  // No caption argument: the Wine desktop's launcher joins arguments without quoting them.
  const std::wstring caption(quorvel::layout::kWindowCaption);
  // Started inside a Wine virtual desktop the probe has no console: it reports to a file.
  if (argc > 2 && !_wfreopen(argv[2], L"w", stdout)) return 2;
  const Duration timeout{argc > 1 ? _wtoi(argv[1]) * 1000 : 60000};
  Found found;
  const bool shown = WaitFor(
      [&] {
        found = FindByCaption(caption);
        if (!found.window) return false;
        if (HWND box = WaitForMessageBox(found.process_id, Duration{0})) {
          const MessageBoxView view = ReadMessageBox(box);
          wprintf(L"BOX \"%ls\" icon %ls: %ls\n", view.title.c_str(), NameOf(view.icon),
                  view.text.c_str());
          fflush(stdout);
          PressOk(box);
        }
        return IsWindowVisible(found.window) != FALSE;
      },
      timeout);
  if (!shown) found = {};
  if (!found.window) {
    fwprintf(stderr, L"window_probe: no window \"%ls\"\n", caption.c_str());
    return 1;
  }
  RECT rect{};
  GetWindowRect(found.window, &rect);
  wprintf(L"WINDOW %ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
          rect.bottom - rect.top);
  return 0;
}

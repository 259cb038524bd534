#include "stray_box_closer.h"

namespace quorvel::testing {

namespace {

BOOL CALLBACK CloseIfErrorBox(HWND window, LPARAM closed) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  wchar_t class_name[16] = {};
  wchar_t title[16] = {};
  GetClassNameW(window, class_name, 16);
  GetWindowTextW(window, title, 16);
  if (lstrcmpW(class_name, L"#32770") == 0 && lstrcmpW(title, L"Error") == 0) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ++*reinterpret_cast<std::atomic<int>*>(closed);
  }
  return TRUE;
}

}  // namespace

StrayBoxCloser::StrayBoxCloser()
    : watcher_([this] {
        while (!stop_) {
          EnumWindows(&CloseIfErrorBox, reinterpret_cast<LPARAM>(&closed_));
          Sleep(100);
        }
      }) {}

StrayBoxCloser::~StrayBoxCloser() {
  stop_ = true;
  watcher_.join();
}

}  // namespace quorvel::testing

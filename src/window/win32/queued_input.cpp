#include "window/win32/queued_input.h"

#include <windows.h>

#include <optional>
#include <utility>

#include "window/win32/unique_handles.h"

namespace quorvel::win32 {

namespace {

LRESULT CALLBACK DiscardWhenActivated(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_ACTIVATE) DiscardQueuedInput();
  return CallNextHookEx(nullptr, code, w, l);
}

}  // namespace

void DiscardQueuedInput() noexcept {
  constexpr std::pair<UINT, UINT> kInput[] = {{WM_KEYFIRST, WM_KEYLAST},
                                              {WM_MOUSEFIRST, WM_MOUSELAST},
                                              {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
  // PeekMessage hands out a pending quit whatever the range asked for. It is the program's end,
  // not input: it is kept and posted again once the input is gone, or the program would run on
  // with no window.
  std::optional<WPARAM> quit;
  MSG message{};
  for (const auto& [first, last] : kInput) {
    while (PeekMessageW(&message, nullptr, first, last, PM_REMOVE)) {
      if (message.message == WM_QUIT) quit = message.wParam;
    }
  }
  if (quit) PostQuitMessage(static_cast<int>(*quit));
}

int MessageBoxOverDiscardedInput(HWND owner, const wchar_t* text, const wchar_t* title,
                                 UINT style) noexcept {
  DiscardQueuedInput();
  const UniqueHook discard_when_activated(
      SetWindowsHookExW(WH_CBT, DiscardWhenActivated, nullptr, GetCurrentThreadId()));
  return MessageBoxW(owner, text, title, style);
}

}  // namespace quorvel::win32

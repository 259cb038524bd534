#include "window/win32/queued_input.h"

#include <windows.h>

#include <optional>
#include <utility>

#include "window/win32/unique_handles.h"

namespace quorvel::win32 {

namespace {

constexpr std::pair<UINT, UINT> kInput[] = {
    {WM_KEYFIRST, WM_KEYLAST}, {WM_MOUSEFIRST, WM_MOUSELAST}, {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};

bool IsInput(UINT message) {
  for (const auto& [first, last] : kInput) {
    if (message >= first && message <= last) return true;
  }
  return false;
}

// When the box of this thread showed (boxes are modal: one at a time), by the clock input
// messages are stamped with.
thread_local std::optional<DWORD> box_shown_at;

LRESULT CALLBACK NoteBoxShown(int code, WPARAM w, LPARAM l) {
  const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(l);
  if (code == HC_ACTION && !box_shown_at && call.message == WM_WINDOWPOSCHANGED &&
      (reinterpret_cast<const WINDOWPOS*>(call.lParam)->flags & SWP_SHOWWINDOW) &&
      !(GetWindowLongW(call.hwnd, GWL_STYLE) & WS_CHILD)) {
    box_shown_at = GetTickCount();
  }
  return CallNextHookEx(nullptr, code, w, l);
}

// The box's own message loop asks before it handles a message; input stamped before the box
// showed is dropped.
LRESULT CALLBACK DropInputFromBeforeTheBox(int code, WPARAM w, LPARAM l) {
  const MSG& message = *reinterpret_cast<const MSG*>(l);
  if (code == MSGF_DIALOGBOX && IsInput(message.message) &&
      (!box_shown_at || static_cast<LONG>(message.time - *box_shown_at) < 0)) {
    return TRUE;
  }
  return CallNextHookEx(nullptr, code, w, l);
}

}  // namespace

void DiscardQueuedInput() noexcept {
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

int MessageBoxOverDiscardedInput(HWND owner, const wchar_t* text, const wchar_t* title, UINT style,
                                 HookSetter set_hook) noexcept {
  DiscardQueuedInput();
  box_shown_at.reset();
  const DWORD thread = GetCurrentThreadId();
  UniqueHook note_shown(set_hook(WH_CALLWNDPROCRET, NoteBoxShown, nullptr, thread));
  UniqueHook drop_earlier(set_hook(WH_MSGFILTER, DropInputFromBeforeTheBox, nullptr, thread));
  // Without the note of its showing, the filter would drop every answer: the box then takes
  // whatever comes, as a plain one does, the input queued before it already gone.
  if (!note_shown || !drop_earlier) {
    note_shown.reset();
    drop_earlier.reset();
  }
  const int answer = MessageBoxW(owner, text, title, style);
  box_shown_at.reset();
  return answer;
}

}  // namespace quorvel::win32

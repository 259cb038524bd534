#pragma once
// Input the window did not take while a run worked.

#include <windows.h>

namespace quorvel::win32 {

// Takes the keys and clicks queued for this thread out of its queue. A run pumps no messages,
// so whatever the user typed or clicked meanwhile waits there, and a box that read it would
// close before the user had seen it. A quit met on the way stays queued.
void DiscardQueuedInput() noexcept;

// MessageBox, answered by no input given before it showed: what is queued when it is called is
// discarded, and what arrives while it is being built is dropped by the box's own loop (input
// messages carry the time they were given). Wine hands a queued key to the window that has the
// focus when the key is read, by then the box's OK button, where Windows hands it to the window
// that had the focus when it was typed.
// If either of its hooks cannot be set, the box takes every answer given once it is called.
using HookSetter = HHOOK(WINAPI*)(int, HOOKPROC, HINSTANCE, DWORD);
int MessageBoxOverDiscardedInput(HWND owner, const wchar_t* text, const wchar_t* title, UINT style,
                                 HookSetter set_hook = SetWindowsHookExW) noexcept;

}  // namespace quorvel::win32

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
// messages carry the time they were given). If either of its hooks cannot be set, the box takes
// every answer given once it is called.
//
// Where a key typed during a run would go: Wine gives a queued key to the window that has the
// focus when the key is read, by then the box's OK button. Microsoft's pages on keyboard input
// say only that keys are posted to the queue of the foreground thread that created the focus
// window, and that the focus window receives them until the focus changes; they do not say at
// which moment a key waiting in a busy thread's queue is given its window. Microsoft's overview
// of the Win32 input model says the thread decides which window an input goes to as it reads it
// from its queue, which is the type-ahead users know: keys typed before a dialog shows go to the
// dialog. Nothing documents a key staying with the window that had the focus when it was typed.
// So on Windows too an Enter typed into the window while it seems frozen would answer the box
// unseen, and the discarding serves Windows users as it serves Wine's.
using HookSetter = HHOOK(WINAPI*)(int, HOOKPROC, HINSTANCE, DWORD);
int MessageBoxOverDiscardedInput(HWND owner, const wchar_t* text, const wchar_t* title, UINT style,
                                 HookSetter set_hook = SetWindowsHookExW) noexcept;

}  // namespace quorvel::win32

#pragma once
// Input the window did not take while a run worked.

namespace quorvel::win32 {

// Takes the keys and clicks queued for this thread out of its queue. A run pumps no messages,
// so whatever the user typed or clicked meanwhile waits there, and a box that read it would
// close before the user had seen it. A quit met on the way stays queued.
void DiscardQueuedInput() noexcept;

}  // namespace quorvel::win32

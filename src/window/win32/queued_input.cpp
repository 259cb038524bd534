#include "window/win32/queued_input.h"

#include <windows.h>

#include <utility>

namespace quorvel::win32 {

void DiscardQueuedInput() noexcept {
  constexpr std::pair<UINT, UINT> kInput[] = {{WM_KEYFIRST, WM_KEYLAST},
                                              {WM_MOUSEFIRST, WM_MOUSELAST},
                                              {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}};
  MSG message{};
  for (const auto& [first, last] : kInput) {
    while (PeekMessageW(&message, nullptr, first, last, PM_REMOVE)) {
    }
  }
}

}  // namespace quorvel::win32

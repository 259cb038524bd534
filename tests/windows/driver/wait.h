#pragma once
// Bounded waiting: every wait of the driver polls with a deadline, never blocks forever.

#include <windows.h>

#include <chrono>
#include <optional>

namespace quorvel::test_driver {

using Duration = std::chrono::milliseconds;
inline constexpr Duration kDefaultTimeout{20000};
inline constexpr Duration kPollInterval{20};

// Calls `probe` until it yields a value or the time is up.
template <class Probe>
auto WaitFor(Probe probe, Duration timeout) -> decltype(probe()) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout.count());
  for (;;) {
    if (auto found = probe()) return found;
    if (GetTickCount64() >= deadline) return decltype(probe()){};
    Sleep(static_cast<DWORD>(kPollInterval.count()));
  }
}

}  // namespace quorvel::test_driver

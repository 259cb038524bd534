#include "window/win32/clock.h"

#include <windows.h>

#include "window/win32/system_time.h"

namespace quorvel::win32 {

DateTime Clock::Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return FromSystemTime(now);
}

}  // namespace quorvel::win32

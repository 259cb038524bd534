#include "window/win32/system_time.h"

namespace quorvel::win32 {

SYSTEMTIME ToSystemTime(const DateTime& value) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(value.year);
  time.wMonth = static_cast<WORD>(value.month);
  time.wDay = static_cast<WORD>(value.day);
  time.wHour = static_cast<WORD>(value.hour);
  time.wMinute = static_cast<WORD>(value.minute);
  time.wSecond = static_cast<WORD>(value.second);
  // Some controls check the day of the week; 1970-01-01 was a Thursday (4).
  const auto days = DaysFromCivil(value.year, value.month, value.day);
  time.wDayOfWeek = static_cast<WORD>(((days % 7) + 7 + 4) % 7);
  return time;
}

DateTime FromSystemTime(const SYSTEMTIME& value) {
  return DateTime{value.wYear, value.wMonth, value.wDay, value.wHour, value.wMinute, value.wSecond};
}

bool SameMoment(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return FromSystemTime(a) == FromSystemTime(b);
}

}  // namespace quorvel::win32

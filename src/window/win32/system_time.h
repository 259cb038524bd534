#pragma once
// The program's date-and-time value and the SYSTEMTIME the controls and the formats take.

#include <windows.h>

#include "common/date_time.h"

namespace quorvel::win32 {

SYSTEMTIME ToSystemTime(const DateTime& value);
DateTime FromSystemTime(const SYSTEMTIME& value);

// Same moment to the second; the day of the week and the milliseconds do not count.
bool SameMoment(const SYSTEMTIME& a, const SYSTEMTIME& b);

}  // namespace quorvel::win32

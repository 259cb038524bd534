#pragma once
// A date picker of another process, read and set through memory in that process: the
// picker's messages carry pointers, which mean nothing across processes.

#include <windows.h>

#include <optional>

#include "common/date_time.h"

namespace quorvel::test_driver {

// The picker's value (date and time of day); nothing when it holds none or cannot be read.
std::optional<SYSTEMTIME> PickerValue(HWND picker);
// Sets the value as the program would (DTM_SETSYSTEMTIME raises no change event).
bool SetPickerValue(HWND picker, const SYSTEMTIME& value);

SYSTEMTIME Moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// The program's own date-and-time value as a picker holds it.
SYSTEMTIME Moment(const DateTime& value);

}  // namespace quorvel::test_driver

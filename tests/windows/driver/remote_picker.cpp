#include "remote_picker.h"

#include <commctrl.h>

#include "remote_memory.h"

namespace quorvel::test_driver {

std::optional<SYSTEMTIME> PickerValue(HWND picker) {
  RemoteBuffer buffer(picker, sizeof(SYSTEMTIME));
  SYSTEMTIME value{};
  if (!buffer.ok() || !buffer.Write(value)) return std::nullopt;
  DWORD_PTR result = GDT_ERROR;
  if (!SendMessageTimeoutW(picker, DTM_GETSYSTEMTIME, 0, buffer.address(), SMTO_ABORTIFHUNG, 5000,
                           &result) ||
      result != GDT_VALID || !buffer.Read(value)) {
    return std::nullopt;
  }
  return value;
}

bool SetPickerValue(HWND picker, const SYSTEMTIME& value) {
  RemoteBuffer buffer(picker, sizeof(SYSTEMTIME));
  if (!buffer.ok() || !buffer.Write(value)) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(picker, DTM_SETSYSTEMTIME, GDT_VALID, buffer.address(),
                             SMTO_ABORTIFHUNG, 5000, &result) &&
         result != 0;
}

SYSTEMTIME Moment(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME value{};
  value.wYear = static_cast<WORD>(year);
  value.wMonth = static_cast<WORD>(month);
  value.wDay = static_cast<WORD>(day);
  value.wHour = static_cast<WORD>(hour);
  value.wMinute = static_cast<WORD>(minute);
  value.wSecond = static_cast<WORD>(second);
  // The day of the week, which some controls check (Zeller-style, 0 = Sunday).
  static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int y = month < 3 ? year - 1 : year;
  value.wDayOfWeek =
      static_cast<WORD>((y + y / 4 - y / 100 + y / 400 + offsets[month - 1] + day) % 7);
  return value;
}

SYSTEMTIME Moment(const DateTime& value) {
  return Moment(value.year, value.month, value.day, value.hour, value.minute, value.second);
}

}  // namespace quorvel::test_driver

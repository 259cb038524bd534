#include "window/win32/regional_formats.h"

#include <windows.h>

#include "window/win32/system_failure.h"
#include "window/win32/system_time.h"

namespace quorvel::win32 {

namespace {

// Both calls tell their length first; the text then fits exactly.
template <class Format>
std::wstring Formatted(const wchar_t* operation, Format format) {
  const int length = format(nullptr, 0);
  if (length <= 0) throw SystemFailure(operation);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  if (format(text.data(), length) <= 0) throw SystemFailure(operation);
  text.resize(static_cast<std::size_t>(length - 1));  // the terminating zero
  return text;
}

std::wstring LongTime(const SYSTEMTIME& time) {
  return Formatted(L"GetTimeFormatEx", [&](wchar_t* buffer, int size) {
    return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, buffer, size);
  });
}

}  // namespace

std::wstring RegionalFormats::ShortDate(const DateTime& value) {
  if (!IsValid(value)) throw Error(5, L"Invalid procedure call or argument");
  const SYSTEMTIME time = ToSystemTime(value);
  return Formatted(L"GetDateFormatEx", [&](wchar_t* buffer, int size) {
    return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer, size,
                           nullptr);
  });
}

std::wstring RegionalFormats::GeneralDate(const DateTime& value) {
  std::wstring text = ShortDate(value);
  if (value.IsMidnight()) return text;
  return text + L" " + LongTime(ToSystemTime(value));
}

}  // namespace quorvel::win32

#include "window/win32/regional_formats.h"

#include <windows.h>
#include <oleauto.h>

#include <memory>

#include "window/date_picture.h"

#include "window/win32/system_failure.h"
#include "window/win32/system_time.h"

namespace quorvel::win32 {

namespace {

// Both calls tell their length first; the text then fits exactly.
template <class Format>
std::wstring Formatted(const wchar_t* operation, Format format) {
  ClearLastError();
  const int length = format(nullptr, 0);
  if (length <= 0) throw SystemFailure(operation);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  ClearLastError();
  if (format(text.data(), length) <= 0) throw SystemFailure(operation);
  text.resize(static_cast<std::size_t>(length - 1));  // the terminating zero
  return text;
}

std::wstring LongTime(const SYSTEMTIME& time) {
  return Formatted(L"GetTimeFormatEx", [&](wchar_t* buffer, int size) {
    return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, buffer, size);
  });
}

// The short date in the user's locale, as set or in the picture given.
std::wstring DateText(const DateTime& value, const wchar_t* picture) {
  if (!IsValid(value)) throw Error(5, L"Invalid procedure call or argument");
  const SYSTEMTIME time = ToSystemTime(value);
  return Formatted(L"GetDateFormatEx", [&](wchar_t* buffer, int size) {
    return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, picture ? 0 : DATE_SHORTDATE, &time, picture,
                           buffer, size, nullptr);
  });
}

}  // namespace

std::wstring RegionalFormats::ShortDate(const DateTime& value) {
  return DateText(value, nullptr);
}

std::wstring RegionalFormats::ShortDateWithFullYear(const DateTime& value) {
  const std::wstring picture = Formatted(L"GetLocaleInfoEx", [](wchar_t* buffer, int size) {
    return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTDATE, buffer, size);
  });
  return DateText(value, WithFullYear(picture).c_str());
}

std::optional<DateTime> RegionalFormats::ReadDate(const std::wstring& text) {
  const std::unique_ptr<OLECHAR, decltype(&SysFreeString)> bstr(
      SysAllocStringLen(text.data(), static_cast<UINT>(text.size())), &SysFreeString);
  if (!bstr) throw Error(7, L"Out of memory");
  DATE date = 0;
  const HRESULT status = VarDateFromStr(bstr.get(), LOCALE_USER_DEFAULT, 0, &date);
  SYSTEMTIME time{};
  if (FAILED(status) || !VariantTimeToSystemTime(date, &time)) return std::nullopt;
  return FromSystemTime(time);
}

std::wstring RegionalFormats::GeneralDate(const DateTime& value) {
  std::wstring text = ShortDate(value);
  if (value.IsMidnight()) return text;
  return text + L" " + LongTime(ToSystemTime(value));
}

}  // namespace quorvel::win32

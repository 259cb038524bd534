#include "common/com/conversions.h"

#include <cmath>

#include "common/error.h"

namespace quorvel::com {

using Microsoft::WRL::ComPtr;

namespace {

constexpr long long kSecondsPerDay = 24LL * 60 * 60;

// The value itself when it already has the type, else a converted copy; 13 when no
// conversion exists.
Variant Converted(const Variant& value, VARTYPE type) {
  Variant result;
  if (FAILED(VariantChangeType(result.Put(), const_cast<VARIANT*>(&value.get()), 0, type))) {
    throw TypeMismatch();
  }
  return result;
}

}  // namespace

ComPtr<IDispatch> ToObject(Variant value) {
  VARIANT& raw = value.get();
  switch (raw.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return nullptr;
    case VT_DISPATCH:
      return ComPtr<IDispatch>(raw.pdispVal);
    case VT_UNKNOWN: {
      if (!raw.punkVal) return nullptr;
      ComPtr<IDispatch> object;
      if (FAILED(raw.punkVal->QueryInterface(IID_PPV_ARGS(&object)))) throw TypeMismatch();
      return object;
    }
    default:
      throw TypeMismatch();
  }
}

std::int32_t ToLong(const Variant& value) {
  if (value.type() == VT_I4) return value.get().lVal;
  return Converted(value, VT_I4).get().lVal;
}

std::wstring ToText(const Variant& value) {
  if (value.type() == VT_BSTR) {
    const BSTR text = value.get().bstrVal;
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  }
  const Variant text = Converted(value, VT_BSTR);
  const BSTR converted = text.get().bstrVal;
  return converted ? std::wstring(converted, SysStringLen(converted)) : std::wstring();
}

DateTime ToDateTime(const Variant& value) {
  if (value.type() == VT_DATE) return FromAutomationDate(value.get().date);
  return FromAutomationDate(Converted(value, VT_DATE).get().date);
}

DateTime FromAutomationDate(DATE value) {
  if (!std::isfinite(value)) throw TypeMismatch();
  // The whole part counts days either side of the epoch; the fraction is the time of day on
  // that date whatever the sign, so -1.25 is 1899-12-29 06:00.
  const double whole = std::trunc(value);
  long long seconds = std::llround(std::fabs(value - whole) * kSecondsPerDay);
  int carry_days = 0;
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    carry_days = 1;
  }
  SYSTEMTIME day{};
  if (!VariantTimeToSystemTime(whole, &day)) throw TypeMismatch();
  DateTime result{day.wYear,
                  day.wMonth,
                  day.wDay,
                  static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60)};
  return carry_days ? AddDays(result, carry_days) : result;
}

}  // namespace quorvel::com

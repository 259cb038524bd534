#include "object/com_values.h"

namespace standin {
namespace {

template <class Read>
auto Converted(const VARIANT& value, VARTYPE type, Read read)
    -> std::optional<decltype(read(std::declval<const VARIANT&>()))> {
  Variant converted;
  if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&value), 0, type)))
    return std::nullopt;
  return read(*converted);
}

}  // namespace

std::optional<std::wstring> ArgumentText(const VARIANT& value) {
  return Converted(value, VT_BSTR, [](const VARIANT& v) {
    return std::wstring(v.bstrVal ? v.bstrVal : L"", SysStringLen(v.bstrVal));
  });
}

std::optional<long> ArgumentLong(const VARIANT& value) {
  return Converted(value, VT_I4, [](const VARIANT& v) { return static_cast<long>(v.lVal); });
}

std::optional<bool> ArgumentBool(const VARIANT& value) {
  return Converted(value, VT_BOOL, [](const VARIANT& v) { return v.boolVal != VARIANT_FALSE; });
}

bool IsMissing(const VARIANT* value) {
  return !value || (value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND);
}

void SetText(VARIANT* result, std::wstring_view text) {
  if (!result) return;
  result->vt = VT_BSTR;
  result->bstrVal = Bstr(text).Release();
}

void SetLong(VARIANT* result, long value) {
  if (!result) return;
  result->vt = VT_I4;
  result->lVal = value;
}

void SetDate(VARIANT* result, double date) {
  if (!result) return;
  result->vt = VT_DATE;
  result->date = date;
}

void SetDispatch(VARIANT* result, IDispatch* object) {
  if (!result) return;
  result->vt = VT_DISPATCH;
  result->pdispVal = object;
  if (object) object->AddRef();
}

void SetUnknown(VARIANT* result, IUnknown* object) {
  if (!result) return;
  result->vt = VT_UNKNOWN;
  result->punkVal = object;
  if (object) object->AddRef();
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace standin

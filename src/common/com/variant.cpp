#include "common/com/variant.h"

#include "common/com/bstr.h"

namespace quorvel::com {

Variant::Variant(Variant&& other) noexcept {
  value_ = other.value_;  // a bitwise move is how a VARIANT changes owner
  VariantInit(&other.value_);
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    VariantClear(&value_);
    value_ = other.value_;
    VariantInit(&other.value_);
  }
  return *this;
}

Variant Variant::FromText(std::wstring_view text) {
  Bstr owned(text);
  Variant result;
  result.value_.vt = VT_BSTR;
  result.value_.bstrVal = owned.Detach();
  return result;
}

Variant Variant::FromLong(std::int32_t value) noexcept {
  Variant result;
  result.value_.vt = VT_I4;
  result.value_.lVal = value;
  return result;
}

VARIANT* Variant::Put() noexcept {
  Clear();
  return &value_;
}

void Variant::Clear() noexcept {
  VariantClear(&value_);
  VariantInit(&value_);
}

}  // namespace quorvel::com

#include "common/com/bstr.h"

#include <new>

#include "common/error.h"

namespace quorvel::com {

Bstr::Bstr(std::wstring_view text)
    : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
  if (!value_) throw std::bad_alloc();
}

Bstr& Bstr::operator=(Bstr&& other) noexcept {
  if (this != &other) {
    Reset();
    value_ = other.Detach();
  }
  return *this;
}

Bstr Bstr::Attach(BSTR owned) noexcept {
  Bstr result;
  result.value_ = owned;
  return result;
}

BSTR* Bstr::Put() noexcept {
  Reset();
  return &value_;
}

BSTR Bstr::Detach() noexcept {
  BSTR released = value_;
  value_ = nullptr;
  return released;
}

void Bstr::Reset() noexcept {
  if (value_) SysFreeString(value_);
  value_ = nullptr;
}

std::wstring Bstr::ToWString() const {
  if (!value_) return {};
  return std::wstring(value_, SysStringLen(value_));
}

}  // namespace quorvel::com

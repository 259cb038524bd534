#pragma once
// Small owners and converters for the automation values the objects hand out and take in.

#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>
#include <string_view>

namespace standin {

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text)
      : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(b_); }
  BSTR get() const { return b_; }
  BSTR Release() {
    BSTR b = b_;
    b_ = nullptr;
    return b;
  }

 private:
  BSTR b_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&v_); }
  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }

 private:
  VARIANT v_;
};

// An argument converted as automation would (VariantChangeType); nothing if it cannot be.
std::optional<std::wstring> ArgumentText(const VARIANT& value);
std::optional<long> ArgumentLong(const VARIANT& value);
std::optional<bool> ArgumentBool(const VARIANT& value);

// An optional argument that the caller left out arrives as VT_ERROR DISP_E_PARAMNOTFOUND.
bool IsMissing(const VARIANT* value);

// Results; each leaves `result` untouched when it is null (the caller wants no value).
void SetText(VARIANT* result, std::wstring_view text);
void SetLong(VARIANT* result, long value);
void SetDate(VARIANT* result, double date);
void SetDispatch(VARIANT* result, IDispatch* object);  // takes a new reference; null is Nothing
void SetUnknown(VARIANT* result, IUnknown* object);

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace standin

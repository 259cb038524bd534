#pragma once
// A move-only owner of one VARIANT.

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string_view>

namespace quorvel::com {

class Variant {
 public:
  Variant() noexcept { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant&& other) noexcept;
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  static Variant FromText(std::wstring_view text);
  static Variant FromLong(std::int32_t value) noexcept;

  const VARIANT& get() const noexcept { return value_; }
  VARIANT& get() noexcept { return value_; }
  VARTYPE type() const noexcept { return value_.vt; }
  // Clears what is held and hands out the slot for a callee to fill.
  VARIANT* Put() noexcept;
  void Clear() noexcept;

 private:
  VARIANT value_;
};

}  // namespace quorvel::com

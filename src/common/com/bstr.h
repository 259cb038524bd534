#pragma once
// A move-only owner of one BSTR.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace quorvel::com {

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text);  // throws quorvel::Error when out of memory
  ~Bstr() { Reset(); }
  Bstr(Bstr&& other) noexcept : value_(other.Detach()) {}
  Bstr& operator=(Bstr&& other) noexcept;
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  static Bstr Attach(BSTR owned) noexcept;

  BSTR get() const noexcept { return value_; }
  // Frees what is held and hands out the slot for a callee to fill.
  BSTR* Put() noexcept;
  BSTR Detach() noexcept;
  void Reset() noexcept;

  std::wstring ToWString() const;

 private:
  BSTR value_ = nullptr;
};

}  // namespace quorvel::com

#pragma once
// Sets the user's short date format (HKCU\Control Panel\International) for a test and puts
// the earlier values back afterwards.

#include <windows.h>

#include <optional>
#include <string>

namespace standin_test {

struct ShortDateFormat {
  const wchar_t* pattern;    // sShortDate, e.g. L"d-M-yyyy"
  const wchar_t* order;      // iDate: 0 M/d/y, 1 d/M/y, 2 y/M/d
  const wchar_t* separator;  // sDate
};

class RegionalFormat {
 public:
  explicit RegionalFormat(const ShortDateFormat& format);
  RegionalFormat(const RegionalFormat&) = delete;
  RegionalFormat& operator=(const RegionalFormat&) = delete;
  ~RegionalFormat();

 private:
  std::optional<std::wstring> pattern_, order_, separator_;
};

// The date written in `pattern` (yyyy, MM, M, dd, d).
std::wstring FormatShortDate(const wchar_t* pattern, int year, int month, int day);

// What this process's locale functions report as the short date format now.
std::wstring CurrentShortDatePattern();

}  // namespace standin_test

#pragma once
// The user's date and time formats, read from the system at every call: a change in the
// regional settings applies to the next text made.

#include "window/form_ports.h"

namespace quorvel::win32 {

class RegionalFormats final : public quorvel::RegionalFormats {
 public:
  std::wstring ShortDate(const DateTime& value) override;
  std::wstring GeneralDate(const DateTime& value) override;
  std::wstring ShortDateWithFullYear(const DateTime& value) override;
  std::optional<DateTime> ReadDate(const std::wstring& text) override;
};

}  // namespace quorvel::win32

#pragma once
// Automation dates (days since 1899-12-30, the time as the fraction) from and to the store's
// "YYYY-MM-DDTHH:MM:SS" texts, without the platform's date functions.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace standin {

struct CivilTime {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

std::optional<CivilTime> ParseIsoDateTime(std::string_view text);
std::string FormatIsoDateTime(const CivilTime& time);

double ToOleDate(const CivilTime& time);
CivilTime FromOleDate(double date);  // to the second, rounded

// Whole minutes since the epoch: Outlook compares filter dates to the minute.
std::int64_t OleDateMinute(double date);

}  // namespace standin

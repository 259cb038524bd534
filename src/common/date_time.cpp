#include "common/date_time.h"

#include <cwchar>
#include <iterator>

namespace quorvel {

// Howard Hinnant's civil-day algorithms: exact over the whole proleptic Gregorian calendar.
std::int64_t DaysFromCivil(int year, int month, int day) {
  const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t year_of_era = y - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

DateTime CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t mp = (5 * day_of_year + 2) / 153;
  DateTime result;
  result.day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
  result.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  result.year = static_cast<int>(year_of_era + era * 400 + (result.month <= 2 ? 1 : 0));
  return result;
}

DateTime AddDays(const DateTime& value, int days) {
  DateTime result = CivilFromDays(DaysFromCivil(value.year, value.month, value.day) + days);
  result.hour = value.hour;
  result.minute = value.minute;
  result.second = value.second;
  return result;
}

bool IsValid(const DateTime& value) {
  if (value.month < 1 || value.month > 12 || value.day < 1) return false;
  const DateTime round_trip = CivilFromDays(DaysFromCivil(value.year, value.month, value.day));
  return round_trip.day == value.day && round_trip.month == value.month && value.hour >= 0 &&
         value.hour < 24 && value.minute >= 0 && value.minute < 60 && value.second >= 0 &&
         value.second < 60;
}

std::wstring IsoDate(const DateTime& value) {
  wchar_t text[16];
  std::swprintf(text, std::size(text), L"%04d-%02d-%02d", value.year, value.month, value.day);
  return text;
}

}  // namespace quorvel

#pragma once
// A local calendar date with a time of day to the second, without time zone: the value a
// date picker holds and an appointment's start.

#include <compare>
#include <cstdint>
#include <string>

namespace quorvel {

struct DateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  auto operator<=>(const DateTime&) const = default;

  bool IsMidnight() const { return hour == 0 && minute == 0 && second == 0; }
};

inline constexpr DateTime kLatestPickerDate{9999, 12, 31, 23, 59, 59};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(int year, int month, int day);
DateTime CivilFromDays(std::int64_t days);

// Whole calendar days added on the local date; the time of day stays as it is.
DateTime AddDays(const DateTime& value, int days);

bool IsValid(const DateTime& value);

// The date as yyyy-MM-dd in the Gregorian calendar, whatever calendar the user's locale keeps.
std::wstring IsoDate(const DateTime& value);

}  // namespace quorvel

#include "store/ole_date.h"

#include <cmath>
#include <cstdio>

namespace standin {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's civil calendar algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

const std::int64_t kOleEpochDays = DaysFromCivil(1899, 12, 30);

bool ReadNumber(std::string_view text, std::size_t at, std::size_t width, int& value) {
  if (at + width > text.size()) return false;
  value = 0;
  for (std::size_t i = at; i < at + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

std::optional<CivilTime> ParseIsoDateTime(std::string_view text) {
  CivilTime t;
  if (text.size() != 19 && text.size() != 16) return std::nullopt;
  if (text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != ' ') || text[13] != ':')
    return std::nullopt;
  if (!ReadNumber(text, 0, 4, t.year) || !ReadNumber(text, 5, 2, t.month) ||
      !ReadNumber(text, 8, 2, t.day) || !ReadNumber(text, 11, 2, t.hour) ||
      !ReadNumber(text, 14, 2, t.minute))
    return std::nullopt;
  if (text.size() == 19 && (text[16] != ':' || !ReadNumber(text, 17, 2, t.second)))
    return std::nullopt;
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.hour > 23 || t.minute > 59 || t.second > 59)
    return std::nullopt;
  int y, m, d;  // rejects 31 April and the like
  CivilFromDays(DaysFromCivil(t.year, t.month, t.day), y, m, d);
  if (d != t.day) return std::nullopt;
  return t;
}

std::string FormatIsoDateTime(const CivilTime& t) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  return buffer;
}

double ToOleDate(const CivilTime& t) {
  const double days = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) - kOleEpochDays);
  const double fraction = (t.hour * 3600 + t.minute * 60 + t.second) / 86400.0;
  // Before the epoch the fraction still counts forward from midnight (the automation date rule).
  return days >= 0 ? days + fraction : days - fraction;
}

CivilTime FromOleDate(double date) {
  const double whole = std::trunc(date);
  const double fraction = std::fabs(date - whole);
  std::int64_t seconds = std::llround(fraction * 86400.0);
  std::int64_t days = static_cast<std::int64_t>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += date >= 0 ? 1 : -1;
  }
  CivilTime t;
  CivilFromDays(days + kOleEpochDays, t.year, t.month, t.day);
  t.hour = static_cast<int>(seconds / 3600);
  t.minute = static_cast<int>(seconds / 60 % 60);
  t.second = static_cast<int>(seconds % 60);
  return t;
}

std::int64_t OleDateMinute(double date) {
  const CivilTime t = FromOleDate(date);
  return (DaysFromCivil(t.year, t.month, t.day) - kOleEpochDays) * 1440 + t.hour * 60 + t.minute;
}

}  // namespace standin

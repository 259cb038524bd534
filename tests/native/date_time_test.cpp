#include <gtest/gtest.h>

#include "common/date_time.h"

namespace quorvel {
namespace {

TEST(AddDays, CountsCalendarDaysAcrossMonthYearAndLeapDays) {
  EXPECT_EQ(AddDays({2027, 2, 28, 10, 15, 20}, 5), (DateTime{2027, 3, 5, 10, 15, 20}));
  EXPECT_EQ(AddDays({2028, 2, 26, 0, 0, 0}, 5), (DateTime{2028, 3, 2, 0, 0, 0}));
  EXPECT_EQ(AddDays({2026, 12, 29, 23, 59, 59}, 5), (DateTime{2027, 1, 3, 23, 59, 59}));
  EXPECT_EQ(AddDays({2100, 2, 26, 8, 0, 0}, 5), (DateTime{2100, 3, 3, 8, 0, 0}));  // no leap day
  EXPECT_EQ(AddDays({2000, 2, 26, 8, 0, 0}, 5), (DateTime{2000, 3, 2, 8, 0, 0}));  // leap day
}

TEST(AddDays, KeepsTheTimeOfDayOverDaylightSavingChanges) {
  // Last Sunday of March and of October in Europe: a plain count of days, no correction.
  EXPECT_EQ(AddDays({2026, 3, 27, 2, 30, 0}, 5), (DateTime{2026, 4, 1, 2, 30, 0}));
  EXPECT_EQ(AddDays({2026, 10, 22, 2, 30, 0}, 5), (DateTime{2026, 10, 27, 2, 30, 0}));
}

TEST(CivilDays, RoundTripsOverThePickersWholeRange) {
  for (std::int64_t day = DaysFromCivil(1601, 1, 1); day <= DaysFromCivil(9999, 12, 31);
       day += 97) {
    const DateTime date = CivilFromDays(day);
    ASSERT_TRUE(IsValid(date));
    ASSERT_EQ(DaysFromCivil(date.year, date.month, date.day), day);
  }
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
  EXPECT_FALSE(IsValid({2027, 2, 29, 0, 0, 0}));
  EXPECT_TRUE(IsValid({2028, 2, 29, 0, 0, 0}));
}

TEST(DateTimeOrder, ComparesDateThenTimeOfDay) {
  EXPECT_LT((DateTime{2026, 12, 8, 9, 0, 0}), (DateTime{2026, 12, 8, 9, 0, 1}));
  EXPECT_LT((DateTime{2026, 12, 7, 23, 59, 59}), (DateTime{2026, 12, 8, 0, 0, 0}));
  EXPECT_LT((DateTime{2026, 11, 30, 0, 0, 0}), (DateTime{2026, 12, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace quorvel

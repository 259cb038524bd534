// Results of the wrong type, and automation dates to the second.
#include <gtest/gtest.h>

#include <functional>

#include "common/com/conversions.h"
#include "common/error.h"

namespace quorvel {
namespace {

using com::Variant;

int NumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.number();
  }
  return 0;
}

TEST(Conversions, ConvertibleResultsAreConvertedOthersAreTypeMismatch) {
  EXPECT_EQ(com::ToLong(Variant::FromText(L"12")), 12);
  EXPECT_EQ(com::ToText(Variant::FromLong(26)), L"26");
  EXPECT_EQ(NumberOf([] { com::ToLong(Variant::FromText(L"Busy")); }), 13);
  EXPECT_EQ(NumberOf([] { com::ToObject(Variant::FromLong(1)); }), 13);
  EXPECT_EQ(NumberOf([] { com::ToDateTime(Variant::FromText(L"no date")); }), 13);
}

TEST(Conversions, NothingIsANullObject) {
  EXPECT_EQ(com::ToObject(Variant()), nullptr);
  Variant null_value;
  null_value.get().vt = VT_NULL;
  EXPECT_EQ(com::ToObject(std::move(null_value)), nullptr);
  Variant null_object;
  null_object.get().vt = VT_DISPATCH;
  null_object.get().pdispVal = nullptr;
  EXPECT_EQ(com::ToObject(std::move(null_object)), nullptr);
}

TEST(Conversions, AutomationDatesRoundToTheSecond) {
  EXPECT_EQ(com::FromAutomationDate(0.0), (DateTime{1899, 12, 30, 0, 0, 0}));
  EXPECT_EQ(com::FromAutomationDate(0.5), (DateTime{1899, 12, 30, 12, 0, 0}));
  // Before the epoch the fraction still counts forward from midnight.
  EXPECT_EQ(com::FromAutomationDate(-1.25), (DateTime{1899, 12, 29, 6, 0, 0}));
  // 2026-12-08 is day 46364; 09:30:15.4 rounds down, 23:59:59.6 rounds into the next day.
  EXPECT_EQ(com::FromAutomationDate(46364 + (9 * 3600 + 30 * 60 + 15.4) / 86400.0),
            (DateTime{2026, 12, 8, 9, 30, 15}));
  EXPECT_EQ(com::FromAutomationDate(46364 + 86399.6 / 86400.0), (DateTime{2026, 12, 9, 0, 0, 0}));
  EXPECT_EQ(com::FromAutomationDate(46364 + 0.6 / 86400.0), (DateTime{2026, 12, 8, 0, 0, 1}));

  Variant date;
  date.get().vt = VT_DATE;
  date.get().date = 46364.75;
  EXPECT_EQ(com::ToDateTime(date), (DateTime{2026, 12, 8, 18, 0, 0}));
}

}  // namespace
}  // namespace quorvel

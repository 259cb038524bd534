// Restrict and Sort as a calendar client uses them: day bounds in the user's own short date
// format, Outlook's to-the-minute comparison, and a stable sort by start.

#include <gtest/gtest.h>

#include <vector>

#include "dispatch_calls.h"
#include "regional_format.h"
#include "test_support.h"

namespace standin_test {
namespace {

std::vector<std::wstring> EntryIds(IDispatch* items) {
  std::vector<std::wstring> ids;
  auto walk = Enumerate(items);
  while (auto item = NextElement(walk.Get())) ids.push_back(GetText(item.Get(), L"EntryID"));
  return ids;
}

class CalendarTest : public testing::Test {
 protected:
  void Open(const std::vector<TestItem>& items) {
    store_ = folder_.File(L"calendar.json");
    WriteBytes(store_, StoreDocument(items).dump());
    UseStore(store_);
    ASSERT_EQ(S_OK, CreateOutlook(application_));
    items_ = GetObject(OpenCalendar(application_.Get()).Get(), L"Items");
  }

  ComPtr<IDispatch> Restrict(const std::wstring& filter) {
    standin::Bstr text(filter);
    return GetObject(items_.Get(), L"Restrict", {Text(text)});
  }

  ScratchFolder folder_;
  std::wstring store_;
  ComPtr<IDispatch> application_;
  ComPtr<IDispatch> items_;
};

// The week of 8 to 14 December 2026 and its edges. A day-first bound read month-first would
// be 12 August or fail (month 14), so a misread locale cannot pass.
const std::vector<TestItem> kWeek = {
    {"before", "", "2026-12-07T23:59:00"}, {"first", "", "2026-12-08T00:00:00"},
    {"august", "", "2026-08-12T10:00:00"}, {"middle", "", "2026-12-10T12:00:00"},
    {"last", "", "2026-12-14T23:58:00"},   {"upper", "", "2026-12-14T23:59:00"},
    {"after", "", "2026-12-15T00:00:00"},
};

const ShortDateFormat kFormats[] = {{L"d-M-yyyy", L"1", L"-"},
                                    {L"M/d/yyyy", L"0", L"/"},
                                    {L"dd.MM.yyyy", L"1", L"."},
                                    {L"dd/MM/yyyy", L"1", L"/"}};

// Wine reads the regional settings once per process and keeps them: a change made with
// RegSetValueExW reaches this process only if it had not read them yet, but reaches every
// process started afterwards. So each format is checked in a fresh child process.
class RestrictInLocaleTest : public testing::TestWithParam<int> {};

TEST_P(RestrictInLocaleTest, DayBoundsInTheUsersFormatTakeTheWeekAndNoMore) {
  const RegionalFormat format(kFormats[GetParam()]);
  SetEnvironmentVariableW(L"STANDIN_TEST_FORMAT", std::to_wstring(GetParam()).c_str());
  const auto code = RunSelf(
      L"--gtest_also_run_disabled_tests --gtest_filter=RestrictChild.DISABLED_WeekInTheUsersFormat",
      60000);
  SetEnvironmentVariableW(L"STANDIN_TEST_FORMAT", nullptr);
  ASSERT_TRUE(code.has_value()) << "the child did not end";
  EXPECT_EQ(0u, *code) << "the child's checks failed (its output is above)";
}

INSTANTIATE_TEST_SUITE_P(Restrict, RestrictInLocaleTest, testing::Range(0, 4),
                         [](const testing::TestParamInfo<int>& info) {
                           return "format" + std::to_string(info.param);
                         });

class RestrictChild : public CalendarTest {};

TEST_F(RestrictChild, DISABLED_WeekInTheUsersFormat) {
  wchar_t index[8] = L"";
  ASSERT_TRUE(GetEnvironmentVariableW(L"STANDIN_TEST_FORMAT", index, 8))
      << "run by the parent only";
  const ShortDateFormat& wanted = kFormats[_wtoi(index)];
  ASSERT_EQ(wanted.pattern, CurrentShortDatePattern()) << "the new format did not reach the child";
  Open(kWeek);
  const std::wstring from = FormatShortDate(wanted.pattern, 2026, 12, 8) + L" 00:00 am";
  const std::wstring to = FormatShortDate(wanted.pattern, 2026, 12, 14) + L" 23:59 pm";
  auto week = Restrict(L"[Start] >= '" + from + L"' AND [Start] < '" + to + L"'");
  EXPECT_EQ((std::vector<std::wstring>{L"first", L"middle", L"last"}), EntryIds(week.Get()))
      << Narrow(from) << " .. " << Narrow(to);
  // A restriction is a new view; the folder's own is unchanged.
  EXPECT_EQ(3, GetLong(week.Get(), L"Count"));
  EXPECT_EQ(7, GetLong(items_.Get(), L"Count"));

  auto inclusive = Restrict(L"[Start]<='" + to + L"' and [Start]>'" + from + L"'");
  EXPECT_EQ((std::vector<std::wstring>{L"middle", L"last", L"upper"}), EntryIds(inclusive.Get()));
}

// These run in whatever format the prefix has; they write their dates in it.
class RestrictTest : public CalendarTest {};

TEST_F(RestrictTest, ComparesToTheMinuteAndFiltersWithinAView) {
  Open({{"a", "", "2026-12-08T10:30:45"},
        {"b", "", "2026-12-08T10:31:00"},
        {"c", "", "2026-12-08T10:29:59"}});
  const std::wstring day = FormatShortDate(CurrentShortDatePattern().c_str(), 2026, 12, 8);
  EXPECT_EQ((std::vector<std::wstring>{L"a"}),
            EntryIds(Restrict(L"[Start] = '" + day + L" 10:30'").Get()));
  auto later = Restrict(L"[Start] > '" + day + L" 10:29'");
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), EntryIds(later.Get()));
  standin::Bstr narrower(L"[Start] < '" + day + L" 10:31'");
  auto both = GetObject(later.Get(), L"Restrict", {Text(narrower)});
  EXPECT_EQ((std::vector<std::wstring>{L"a"}), EntryIds(both.Get()));
}

TEST_F(RestrictTest, AnUnreadableFilterFailsAsOutlookDoes) {
  Open(kWeek);
  for (const wchar_t* filter :
       {L"", L"[Start]", L"[Start] >= 12/8/2026", L"[Start] >= '12/8/2026",
        L"[Start] => '12/8/2026'", L"[End] >= '12/8/2026'", L"[Start] >= 'no date'",
        L"[Start] >= '12/8/2026' or [Start] < '12/9/2026'", L"[Start] >= '12/8/2026' and",
        L"[Start] >= '12/8/2026' [Start] < '12/9/2026'"}) {
    standin::Bstr text(filter);
    standin::Variant result;
    const Outcome outcome =
        TryInvoke(items_.Get(), L"Restrict", DISPATCH_METHOD, {Text(text)}, result.get());
    EXPECT_EQ(DISP_E_EXCEPTION, outcome.hr) << Narrow(filter);
    EXPECT_EQ(0u, outcome.error.description.find(L"Cannot parse condition. Error at \""))
        << Narrow(outcome.error.description);
    EXPECT_EQ(L"Microsoft Outlook", outcome.error.source);
    EXPECT_EQ(VT_EMPTY, (*result).vt);
  }
}

class SortTest : public CalendarTest {
 protected:
  void SetUp() override {
    Open({{"late", "", "2026-12-09T09:00:00"},
          {"tie1", "", "2026-12-08T09:00:00"},
          {"early", "", "2026-12-01T09:00:00"},
          {"tie2", "", "2026-12-08T09:00:00"},
          {"tie3", "", "2026-12-08T09:00:00"}});
  }
  void Sort(std::initializer_list<VARIANT> args) { CallMethod(items_.Get(), L"Sort", args); }
  standin::Bstr start_{L"[Start]"};
};

TEST_F(SortTest, AscendingByStartKeepsTiesInStoreOrder) {
  Sort({Text(start_)});
  EXPECT_EQ((std::vector<std::wstring>{L"early", L"tie1", L"tie2", L"tie3", L"late"}),
            EntryIds(items_.Get()));
  // Item() follows the sorted order too.
  EXPECT_EQ(L"early", GetText(GetObject(items_.Get(), L"Item", {Long(1)}).Get(), L"EntryID"));
  EXPECT_EQ(L"late", GetText(GetObject(items_.Get(), L"Item", {Long(5)}).Get(), L"EntryID"));
}

TEST_F(SortTest, DescendingOnlyWhenTheFlagIsTrue) {
  Sort({Text(start_), Bool(true)});
  EXPECT_EQ((std::vector<std::wstring>{L"late", L"tie1", L"tie2", L"tie3", L"early"}),
            EntryIds(items_.Get()));
  Sort({Text(start_), Bool(false)});
  EXPECT_EQ(L"early", EntryIds(items_.Get()).front());
  VARIANT missing;
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  Sort({Text(start_), missing});
  EXPECT_EQ(L"early", EntryIds(items_.Get()).front());
}

TEST_F(SortTest, AnyOtherPropertyOrFlagFails) {
  standin::Bstr subject(L"[Subject]"), bare(L"Start"), word(L"sideways");
  for (auto args : {std::vector<VARIANT>{Text(subject)}, std::vector<VARIANT>{Text(bare)},
                    std::vector<VARIANT>{Text(start_), Text(word)}}) {
    standin::Variant result;
    const Outcome outcome =
        args.size() == 1
            ? TryInvoke(items_.Get(), L"Sort", DISPATCH_METHOD, {args[0]}, result.get())
            : TryInvoke(items_.Get(), L"Sort", DISPATCH_METHOD, {args[0], args[1]}, result.get());
    EXPECT_EQ(DISP_E_EXCEPTION, outcome.hr);
  }
  EXPECT_EQ(L"late", EntryIds(items_.Get()).front()) << "a failed sort changed the order";
}

}  // namespace
}  // namespace standin_test

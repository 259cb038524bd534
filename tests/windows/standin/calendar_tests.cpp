// The calendar generator, and the stand-in at the scale the benchmarks use it.

#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "calendar/calendar_generator.h"
#include "dispatch_calls.h"
#include "store/store_model.h"
#include "store/store_session.h"
#include "store/text_encoding.h"
#include "test_support.h"

namespace standin_test {
namespace {

standin::CalendarOptions Options(std::size_t size, std::uint64_t seed) {
  standin::CalendarOptions options;
  options.appointments = size;
  options.seed = seed;
  options.firstDay = {2026, 12, 1};
  options.days = 31;
  options.meetingRequests = size / 100;
  return options;
}

TEST(Calendar, TheSameSeedGivesTheSameStoreAndAnotherSeedAnother) {
  EXPECT_EQ(standin::GenerateCalendar(Options(500, 3)), standin::GenerateCalendar(Options(500, 3)));
  EXPECT_NE(standin::GenerateCalendar(Options(500, 3)), standin::GenerateCalendar(Options(500, 4)));
}

TEST(Calendar, HoldsTheMixTheTestsNeed) {
  const std::size_t size = 5000;
  standin::StoreModel model =
      standin::StoreModel::Parse(standin::GenerateCalendar(Options(size, 11)));
  const auto& items = model.items();
  ASSERT_EQ(size + size / 100, items.size());
  std::map<int, int> classes, busy, recurrence;
  int empty = 0, trailing = 0, longOnes = 0, astral = 0, cyrillic = 0, cjk = 0, arabic = 0;
  const double first = standin::ToOleDate({2026, 12, 1}), end = first + 31;
  std::size_t firstMeeting = items.size(), lastMeeting = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const auto& item = items[i];
    ++classes[item.itemClass];
    if (item.itemClass == standin::kClassMeetingRequest) {
      firstMeeting = std::min(firstMeeting, i);
      lastMeeting = std::max(lastMeeting, i);
      continue;
    }
    ++busy[item.busy];
    ++recurrence[item.recurrence];
    EXPECT_GE(item.start, first);
    EXPECT_LT(item.start, end);
    const std::wstring& s = item.subject;
    empty += s.empty();
    trailing += !s.empty() && s.back() == L' ';
    longOnes += s.size() >= 300;
    for (wchar_t c : s) {
      astral += c >= 0xD800 && c <= 0xDBFF;
      cyrillic += c >= 0x0400 && c <= 0x04FF;
      cjk += c >= 0x4E00 && c <= 0x9FFF;
      arabic += c >= 0x0600 && c <= 0x06FF;
    }
  }
  EXPECT_EQ(static_cast<int>(size / 100), classes[53]);
  EXPECT_LT(firstMeeting, items.size() / 10) << "meeting requests are not spread";
  EXPECT_GT(lastMeeting, items.size() * 9 / 10) << "meeting requests are not spread";
  for (int state = 0; state <= 4; ++state) EXPECT_GT(busy[state], 0) << "busy " << state;
  EXPECT_NEAR(0.1, recurrence[1] / double(size), 0.02);
  EXPECT_EQ(0u, recurrence.count(3)) << "an exception is an element of the folder";
  for (int count : {empty, trailing, longOnes, astral, cyrillic, cjk, arabic}) EXPECT_GT(count, 0);
}

// A real calendar folder holds singles and masters; a series' exceptions live in its master.
TEST(Calendar, ExceptionsLiveInsideTheirMasters) {
  const std::size_t size = 5000;
  const auto document = nlohmann::json::parse(standin::GenerateCalendar(Options(size, 11)));
  std::size_t exceptions = 0;
  for (const auto& item : document["items"]) {
    if (!item.contains("exceptions")) continue;
    EXPECT_EQ(1, item["recurrence"]) << item["id"] << " holds exceptions but is no master";
    for (const auto& exception : item["exceptions"]) {
      EXPECT_GT(exception["start"].get<std::string>(), item["start"].get<std::string>());
      ++exceptions;
    }
  }
  EXPECT_NEAR(0.1, exceptions / double(size), 0.02);
}

TEST(Calendar, RefusesSharesThatCannotBe) {
  standin::CalendarOptions options = Options(10, 1);
  options.recurringShare = 1.2;
  EXPECT_THROW(standin::GenerateCalendar(options), std::invalid_argument);
  options.recurringShare = 0;  // exceptions with no series to hold them
  EXPECT_THROW(standin::GenerateCalendar(options), std::invalid_argument);
  options.exceptionShare = 0;
  EXPECT_NO_THROW(standin::GenerateCalendar(options));
}

// 100,000 appointments: every one saved in one walk, then the store checkpointed once.
TEST(CalendarScale, SavingAHundredThousandAppointmentsStaysCheap) {
  ScratchFolder folder;
  const std::wstring store = folder.File(L"large.json");
  standin::CalendarOptions options = Options(100000, 5);
  options.meetingRequests = 0;
  WriteBytes(store, standin::GenerateCalendar(options));
  UseStore(store);
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
  };
  const auto opened = Clock::now();
  std::size_t saved = 0;
  Clock::duration walking{};
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    auto items = GetObject(OpenCalendar(application.Get()).Get(), L"Items");
    std::printf("open 100,000: %.0f ms\n", ms(Clock::now() - opened));
    const auto walk = Clock::now();
    auto each = Enumerate(items.Get());
    while (auto item = NextElement(each.Get())) {
      PutText(item.Get(), L"Subject", GetText(item.Get(), L"Subject") + L" ");
      CallMethod(item.Get(), L"Save");
      ++saved;
    }
    walking = Clock::now() - walk;
  }
  const double checkpoint = ms(Clock::now() - opened) - ms(walking);
  std::printf(
      "100,000 x (Subject get, put, Save): %.0f ms, %.2f us per element; "
      "open + checkpoint %.0f ms\n",
      ms(walking), ms(walking) * 1000 / saved, checkpoint);
  EXPECT_EQ(100000u, saved);
  EXPECT_LT(ms(walking) / saved, 1.0) << "more than a millisecond per element";
  const auto stored = nlohmann::json::parse(*ReadBytes(store));
  EXPECT_EQ(' ', stored["items"][99999]["subject"].get<std::string>().back());
  EXPECT_EQ(100000u, JournalRecords(standin::HistoryPathOf(store)).size());

  // The same saves forced to the disk one by one, for comparison.
  SetEnvironmentVariableW(L"QUORVEL_STANDIN_FLUSH", L"1");
  const int flushed = 300;
  Clock::duration flushing{};
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    auto items = GetObject(OpenCalendar(application.Get()).Get(), L"Items");
    const auto begin = Clock::now();
    for (long i = 1; i <= flushed; ++i)
      CallMethod(GetObject(items.Get(), L"Item", {Long(i)}).Get(), L"Save");
    flushing = Clock::now() - begin;
  }
  SetEnvironmentVariableW(L"QUORVEL_STANDIN_FLUSH", nullptr);
  std::printf("Save with FlushFileBuffers each: %.1f us per save\n", ms(flushing) * 1000 / flushed);
}

}  // namespace
}  // namespace standin_test

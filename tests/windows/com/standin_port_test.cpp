// The Outlook port against the stand-in Outlook: what a run relies on, in process and out.
#include "standin_port_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/error.h"
#include "outlook/com/com_object_factory.h"
#include "stray_box_closer.h"

namespace quorvel::testing {
namespace {

using outlook::Advance;

constexpr std::int32_t kCallRejected = static_cast<std::int32_t>(0x80010001);
constexpr std::int32_t kRetryLater = static_cast<std::int32_t>(0x8001010A);

StandinItem Appointment(std::string id, DateTime start, int busy = 2) {
  StandinItem item;
  item.id = std::move(id);
  item.subject = L"Subject of " + std::wstring(item.id.begin(), item.id.end());
  item.start = start;
  item.busy = busy;
  return item;
}

StandinItem MeetingRequest(std::string id, DateTime start) {
  StandinItem item = Appointment(std::move(id), start);
  item.item_class = 53;
  return item;
}

class StandinPort : public ::testing::Test {
 protected:
  bool local() const { return TestHost() == Host::kLocalServer; }

  void Open(const StandinStore& store, const std::wstring& name) {
    store_ = WriteStore(store, name);
    factory_ = outlook::com::MakeComObjectFactory();
    application_ = factory_->CreateApplication(L"Outlook.Application");
    mapi_ = application_->GetNamespace(L"MAPI");
    calendar_ = Need(mapi_).GetDefaultFolder(outlook::kFolderCalendar);
    items_ = Need(calendar_).Items();
  }

  // Lets go of every stand-in object so that it checkpoints (and, out of process, exits).
  void Finish() {
    items_.reset();
    calendar_.reset();
    mapi_.reset();
    application_.reset();
    if (local()) {
      ASSERT_TRUE(WaitForLocalServerExit(30000)) << "the stand-in did not exit";
    }
  }

  void TearDown() override { Finish(); }

  std::wstring store_;
  std::unique_ptr<outlook::ObjectFactory> factory_;
  std::shared_ptr<outlook::Application> application_;
  std::shared_ptr<outlook::Namespace> mapi_;
  std::shared_ptr<outlook::Folder> calendar_;
  std::shared_ptr<outlook::Items> items_;
};

TEST_F(StandinPort, SavingWhileEnumeratingVisitsEachElementOnce) {
  StandinStore store;
  for (int i = 0; i < 40; ++i) {
    store.items.push_back(
        Appointment("a" + std::to_string(i), DateTime{2026, 3, 1 + i % 28, 9 + i % 8, 0, 0}));
    if (i % 15 == 7) store.items.push_back(MeetingRequest("m" + std::to_string(i), {2026, 3, 2}));
  }
  Open(store, L"visit-once");

  auto enumeration = items_->Enumerate();
  std::shared_ptr<outlook::AppointmentItem> item;
  outlook::Unexamined why;
  int appointments = 0;
  int others = 0;
  for (Advance step; (step = enumeration->Next(item, why)) != Advance::kEnd;) {
    ASSERT_LT(appointments + others, 100) << "the enumeration does not end";
    if (step == Advance::kNotAnAppointment) {
      ++others;
      continue;
    }
    ++appointments;
    item->SetSubject(item->Subject() + L" ");
    item->Save();
  }
  EXPECT_EQ(appointments, 40);
  EXPECT_EQ(others, 3);
  enumeration.reset();
  item.reset();
  Finish();

  std::map<std::string, int> saves;
  for (const JournalRecord& record : ReadJournal(store_)) {
    if (record.id.empty()) continue;
    ++saves[record.id];
    EXPECT_EQ(record.subject, "Subject of " + record.id + " ");
  }
  EXPECT_EQ(saves.size(), 40u);
  for (const auto& [id, times] : saves) EXPECT_EQ(times, 1) << id;
}

TEST_F(StandinPort, FailuresCrossAsTheServerRaisedThem) {
  StandinStore store;
  StandinItem locked = Appointment("locked", {2026, 5, 4, 10, 0, 0});
  locked.failures["Save"] = {-2147467260, L"Operation aborted", L"Microsoft Outlook"};
  locked.failures["BusyStatus"] = {-2147221233,
                                   L"The attempted operation failed. An object could not be found.",
                                   L"Microsoft Outlook"};
  store.items.push_back(locked);
  Open(store, L"failures");

  auto enumeration = items_->Enumerate();
  std::shared_ptr<outlook::AppointmentItem> item;
  outlook::Unexamined why;
  ASSERT_EQ(enumeration->Next(item, why), Advance::kAppointment);
  try {
    item->Save();
    ADD_FAILURE() << "the locked save passed";
  } catch (const Error& error) {
    EXPECT_EQ(error.record(),
              (ErrorRecord{-2147467260, L"Operation aborted", L"Microsoft Outlook"}));
  }
  try {
    item->BusyStatus();
    ADD_FAILURE() << "the failing read passed";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), -2147221233);
    EXPECT_EQ(error.record().description,
              L"The attempted operation failed. An object could not be found.");
  }
  EXPECT_EQ(item->Start(), (DateTime{2026, 5, 4, 10, 0, 0}));
}

TEST_F(StandinPort, NamespaceFailureReachesTheCaller) {
  StandinStore store;
  store.namespace_failure =
      ErrorRecord{-2147221219, L"The profile is not configured.", L"Microsoft Outlook"};
  store_ = WriteStore(store, L"no-namespace");
  factory_ = outlook::com::MakeComObjectFactory();
  application_ = factory_->CreateApplication(L"Outlook.Application");
  try {
    application_->GetNamespace(L"MAPI");
    ADD_FAILURE() << "the namespace was given";
  } catch (const Error& error) {
    EXPECT_EQ(error.record(), *store.namespace_failure);
  }
}

TEST_F(StandinPort, FolderMembersByNameAndExplorerPresence) {
  StandinStore store;
  store.explorer = true;
  store.items.push_back(Appointment("only", {2026, 1, 2, 8, 0, 0}));
  Open(store, L"folder-names");
  EXPECT_EQ(calendar_->Name(), L"Calendar");
  EXPECT_EQ(calendar_->ParentAsText(), L"Mailbox - Test User");
  EXPECT_EQ(calendar_->ParentAsText(), L"Mailbox - Test User");  // the cached id still answers
  EXPECT_EQ(items_->Count(), 1);

  auto explorer = application_->ActiveExplorer();
  if (local()) {
    EXPECT_EQ(explorer, nullptr) << "started by COM, the stand-in has no explorer";
  } else {
    ASSERT_NE(explorer, nullptr);
    auto shown = explorer->CurrentFolder();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Name(), L"Calendar");
  }
}

// The bound texts exactly as the import builds them, in the user's short date format.
std::wstring BoundText(const DateTime& day, const wchar_t* time_of_day) {
  SYSTEMTIME date{};
  date.wYear = static_cast<WORD>(day.year);
  date.wMonth = static_cast<WORD>(day.month);
  date.wDay = static_cast<WORD>(day.day);
  wchar_t text[64] = {};
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, text, 64, nullptr);
  return std::wstring(text) + time_of_day;
}

class ShortDateFormat {
 public:
  explicit ShortDateFormat(const wchar_t* format) {
    RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\International", 0,
                  KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
    DWORD size = sizeof previous_;
    had_previous_ = RegQueryValueExW(key_, L"sShortDate", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(previous_), &size) == ERROR_SUCCESS;
    Set(format);
  }
  ~ShortDateFormat() {
    if (had_previous_) Set(previous_);
    RegCloseKey(key_);
  }
  ShortDateFormat(const ShortDateFormat&) = delete;
  ShortDateFormat& operator=(const ShortDateFormat&) = delete;

 private:
  void Set(const wchar_t* format) {
    RegSetValueExW(key_, L"sShortDate", 0, REG_SZ, reinterpret_cast<const BYTE*>(format),
                   static_cast<DWORD>((lstrlenW(format) + 1) * sizeof(wchar_t)));
  }
  HKEY key_ = nullptr;
  wchar_t previous_[80] = {};
  bool had_previous_ = false;
};

TEST_F(StandinPort, RestrictToTheRangeThenSortAscending) {
  StandinStore store;
  // Deliberately out of order, and on days where day and month can be mistaken for each other.
  store.items = {
      Appointment("after", {2026, 12, 13, 8, 0, 0}),
      Appointment("last-minute-out", {2026, 12, 12, 23, 59, 0}),
      Appointment("mid-2", {2026, 12, 10, 9, 0, 0}),
      Appointment("first-minute-in", {2026, 12, 8, 0, 0, 0}),
      MeetingRequest("request", {2026, 12, 9, 10, 0, 0}),
      Appointment("mid-1", {2026, 12, 9, 15, 30, 0}),
      Appointment("before", {2026, 12, 7, 23, 59, 0}),
      Appointment("eve-of-end", {2026, 12, 12, 23, 58, 0}),
      Appointment("other-reading", {2026, 8, 12, 12, 0, 0}),  // 12/8 read the other way round
  };
  Open(store, L"restrict");

  for (const wchar_t* format : {L"M/d/yyyy", L"d-M-yyyy", L"dd.MM.yyyy", L"dd/MM/yyyy"}) {
    SCOPED_TRACE(::testing::Message() << "short date format " << format);
    ShortDateFormat regional(format);
    const std::wstring filter = L"[Start] >= '" + BoundText({2026, 12, 8}, L" 00:00 am") +
                                L"' and [Start] < '" + BoundText({2026, 12, 12}, L" 23:59 pm") +
                                L"'";
    auto range = items_->Restrict(filter);
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->Count(), 5);
    range->Sort(L"[Start]");

    std::vector<DateTime> starts;
    int others = 0;
    auto enumeration = range->Enumerate();
    std::shared_ptr<outlook::AppointmentItem> item;
    outlook::Unexamined why;
    for (Advance step; (step = enumeration->Next(item, why)) != Advance::kEnd;) {
      ASSERT_LT(starts.size() + others, 20u);
      if (step == Advance::kNotAnAppointment) {
        ++others;
      } else {
        starts.push_back(item->Start());
      }
    }
    EXPECT_EQ(others, 1);
    EXPECT_EQ(starts, (std::vector<DateTime>{{2026, 12, 8, 0, 0, 0},
                                             {2026, 12, 9, 15, 30, 0},
                                             {2026, 12, 10, 9, 0, 0},
                                             {2026, 12, 12, 23, 58, 0}}));
  }
}

TEST_F(StandinPort, BriefBusyPeriodsAfterSavesAreWaitedOut) {
  if (!local()) GTEST_SKIP() << "only a separate process can be busy";
  StandinStore store;
  store.busy_after_save_ms = 1000;
  for (int i = 0; i < 4; ++i)
    store.items.push_back(Appointment("b" + std::to_string(i), {2026, 2, 2 + i, 9, 0, 0}));
  Open(store, L"busy-brief");

  const ULONGLONG started = GetTickCount64();
  auto enumeration = items_->Enumerate();
  std::shared_ptr<outlook::AppointmentItem> item;
  outlook::Unexamined why;
  int saved = 0;
  while (enumeration->Next(item, why) == Advance::kAppointment) {
    item->SetSubject(item->Subject() + L" ");
    EXPECT_NO_THROW(item->Save());
    ++saved;
  }
  const ULONGLONG waited = GetTickCount64() - started;
  EXPECT_EQ(saved, 4);
  // Each save but the last is followed by a refused call, so the run waited the busy periods.
  EXPECT_GE(waited, 3 * 1000 * 9 / 10) << "the stand-in never refused a call";
  enumeration.reset();
  item.reset();
  Finish();
  const auto journal = ReadJournal(store_);
  EXPECT_EQ(std::count_if(journal.begin(), journal.end(),
                          [](const JournalRecord& r) { return !r.id.empty(); }),
            4);
}

TEST_F(StandinPort, BusyPeriodBeyondTheBudgetFailsTheSave) {
  if (!local()) GTEST_SKIP() << "only a separate process can be busy";
  StandinStore store;
  store.busy_after_save_ms = 13000;
  store.items.push_back(Appointment("long", {2026, 2, 2, 9, 0, 0}));
  Open(store, L"busy-long");

  auto enumeration = items_->Enumerate();
  std::shared_ptr<outlook::AppointmentItem> item;
  outlook::Unexamined why;
  ASSERT_EQ(enumeration->Next(item, why), Advance::kAppointment);
  item->Save();
  const ULONGLONG started = GetTickCount64();
  try {
    item->Save();
    ADD_FAILURE() << "a save during the busy period passed";
  } catch (const Error& error) {
    EXPECT_TRUE(error.number() == kCallRejected || error.number() == kRetryLater) << error.number();
  }
  const ULONGLONG waited = GetTickCount64() - started;
  EXPECT_GE(waited, 10000u);
  EXPECT_LT(waited, 12500u);
  Sleep(3500);  // let the busy period end so the stand-in can be released
}

// An Outlook that is still starting refuses activation as busy; creating the application is
// tried again within the budget of any refused call, and fails with the refusal past it.
TEST_F(StandinPort, ActivationRefusedWhileOutlookStartsIsRetriedWithinTheBudget) {
  if (!local()) GTEST_SKIP() << "only a separate process can be busy";
  for (const int busyMs : {2500, 13000}) {
    SCOPED_TRACE(busyMs);
    StandinStore store;
    store.startup_busy_ms = busyMs;
    store.items.push_back(Appointment("a", {2026, 2, 2, 9, 0, 0}));
    const ULONGLONG started = GetTickCount64();
    if (busyMs < 10000) {
      Open(store, L"busy-start");
      EXPECT_GE(GetTickCount64() - started, 1500u) << "the start-up was not busy";
      EXPECT_EQ(Need(items_).Count(), 1);
    } else {
      store_ = WriteStore(store, L"busy-start-long");
      factory_ = outlook::com::MakeComObjectFactory();
      try {
        application_ = factory_->CreateApplication(L"Outlook.Application");
        ADD_FAILURE() << "created while Outlook refused activation";
      } catch (const Error& error) {
        EXPECT_TRUE(error.number() == kCallRejected || error.number() == kRetryLater)
            << error.number();
        std::printf("activation refused: 0x%08X %ls\n", static_cast<unsigned>(error.number()),
                    error.record().description.c_str());
      }
      const ULONGLONG waited = GetTickCount64() - started;
      EXPECT_GE(waited, 10000u);
      EXPECT_LT(waited, 12500u);
    }
    Finish();
  }
}

TEST_F(StandinPort, ShellRunStartsOutlookWithoutWaiting) {
  if (local()) GTEST_SKIP() << "the launch record is the in-process host's";
#ifndef QUORVEL_STANDIN_LOCAL_SERVER
  GTEST_SKIP() << "the stand-in's Outlook.exe, which the shell would start, is not in this build";
#endif
  StandinStore store;
  store.explorer = false;
  store_ = WriteStore(store, L"launch");
  factory_ = outlook::com::MakeComObjectFactory();
  {
    StrayBoxCloser closer;
    auto shell = factory_->CreateShell(L"WScript.Shell");
    const ULONGLONG started = GetTickCount64();
    shell->Run(L"Outlook.exe");
    EXPECT_LT(GetTickCount64() - started, 3000u) << "Run waited for the program";
    EXPECT_EQ(closer.closed(), 0) << "the shell could not find Outlook.exe";
  }
  bool launched = false;
  for (int i = 0; i < 150 && !launched; ++i) {
    for (const JournalRecord& record : ReadJournal(store_)) launched |= record.id.empty();
    if (!launched) Sleep(100);
  }
  EXPECT_TRUE(launched) << "no launch reached the journal";
  EXPECT_TRUE(WaitForLocalServerExit(20000));
}

}  // namespace
}  // namespace quorvel::testing

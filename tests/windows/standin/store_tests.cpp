// The store: what a save makes durable, what a checkpoint writes, what a crash leaves, and
// how a bad store is refused.

#include <gtest/gtest.h>

#include "dispatch_calls.h"
#include "store/store_session.h"
#include "test_support.h"

namespace standin_test {
namespace {

class StoreTest : public testing::Test {
 protected:
  void SetUp() override {
    store_ = folder_.File(L"calendar.json");
    WriteBytes(store_, StoreDocument({{"000001", "Dentist"},
                                      {"000002", "Team meeting", "2026-12-09T10:00:00"},
                                      {"000003", "Lunch", "2026-12-10T12:00:00"}})
                           .dump());
    UseStore(store_);
  }

  nlohmann::json Stored() { return nlohmann::json::parse(*ReadBytes(store_)); }

  ScratchFolder folder_;
  std::wstring store_;
};

TEST_F(StoreTest, SaveIsJournalledAtOnceAndCheckpointedWhenTheLastObjectGoes) {
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    auto items = GetObject(OpenCalendar(application.Get()).Get(), L"Items");
    auto item = GetObject(items.Get(), L"Item", {Long(2)});
    PutText(item.Get(), L"Subject", L"Team meeting ");
    CallMethod(item.Get(), L"Save");

    // Durable before anything is released: the journal has it, the store not yet.
    const auto journal = JournalRecords(standin::JournalPathOf(store_));
    ASSERT_EQ(1u, journal.size());
    EXPECT_EQ("000002", journal[0]["id"]);
    EXPECT_EQ("Team meeting ", journal[0]["subject"]);
    EXPECT_EQ(1, journal[0]["seq"]);
    EXPECT_TRUE(journal[0].contains("time"));
    EXPECT_EQ("Team meeting", Stored()["items"][1]["subject"]);
  }
  EXPECT_EQ("Team meeting ", Stored()["items"][1]["subject"]);
  EXPECT_EQ("Dentist", Stored()["items"][0]["subject"]);
  EXPECT_EQ("", ReadBytes(standin::JournalPathOf(store_)).value_or("missing"));
  const auto saves = AllSaves(store_);
  ASSERT_EQ(1u, saves.size());
  EXPECT_EQ("000002", saves[0]["id"]);

  const auto calls = nlohmann::json::parse(*ReadBytes(standin::CallsPathOf(store_)));
  EXPECT_EQ(1, calls.value("AppointmentItem.Save", 0));
  EXPECT_EQ(1, calls.value("AppointmentItem.Subject.put", 0));
  EXPECT_EQ(1, calls.value("Items.Item", 0));
  EXPECT_GE(calls.value("GetIDsOfNames", 0), 5);
}

TEST_F(StoreTest, SequenceNumbersGoOnAcrossSessionsAndAWrittenSubjectNeedsSave) {
  for (int session = 0; session < 2; ++session) {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    auto items = GetObject(OpenCalendar(application.Get()).Get(), L"Items");
    auto saved = GetObject(items.Get(), L"Item", {Long(1)});
    PutText(saved.Get(), L"Subject", L"saved " + std::to_wstring(session));
    CallMethod(saved.Get(), L"Save");
    auto unsaved = GetObject(items.Get(), L"Item", {Long(3)});
    PutText(unsaved.Get(), L"Subject", L"never saved");
    EXPECT_EQ(L"never saved", GetText(unsaved.Get(), L"Subject"));
    // Another object for the same item sees the stored subject, not the pending one.
    EXPECT_EQ(L"Lunch", GetText(GetObject(items.Get(), L"Item", {Long(3)}).Get(), L"Subject"));
  }
  EXPECT_EQ("saved 1", Stored()["items"][0]["subject"]);
  EXPECT_EQ("Lunch", Stored()["items"][2]["subject"]);
  const auto saves = AllSaves(store_);
  ASSERT_EQ(2u, saves.size());
  EXPECT_EQ(1, saves[0]["seq"]);
  EXPECT_EQ(2, saves[1]["seq"]);
}

TEST_F(StoreTest, SubjectsOutsideTheBasicPlaneSurviveTheRoundTrip) {
  const std::wstring subject =
      L"\u0412\u0441\u0442\u0440\u0435\u0447\u0430 \u4F1A\u8B70 "
      L"\u0627\u062C\u062A\u0645\u0627\u0639 \U0001F382  ";
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    auto item = GetObject(GetObject(OpenCalendar(application.Get()).Get(), L"Items").Get(), L"Item",
                          {Long(1)});
    PutText(item.Get(), L"Subject", subject);
    CallMethod(item.Get(), L"Save");
  }
  ComPtr<IDispatch> application;
  ASSERT_EQ(S_OK, CreateOutlook(application));
  auto item = GetObject(GetObject(OpenCalendar(application.Get()).Get(), L"Items").Get(), L"Item",
                        {Long(1)});
  EXPECT_EQ(subject, GetText(item.Get(), L"Subject"));
}

TEST_F(StoreTest, AClientThatDiesAfterSavingLosesNothing) {
  const std::string before = *ReadBytes(store_);
  const long saved = 2;
  const auto code = RunSelf(L"--save-and-die \"" + store_ + L"\" " + std::to_wstring(saved), 30000);
  ASSERT_TRUE(code.has_value()) << "the child did not end";
  ASSERT_EQ(7u, *code) << "the child did not reach its own TerminateProcess";
  EXPECT_EQ(before, *ReadBytes(store_)) << "the dead child cannot have checkpointed";
  ASSERT_EQ(2u, JournalRecords(standin::JournalPathOf(store_)).size());

  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    auto items = GetObject(OpenCalendar(application.Get()).Get(), L"Items");
    EXPECT_EQ(L"saved before the crash 1",
              GetText(GetObject(items.Get(), L"Item", {Long(1)}).Get(), L"Subject"));
    EXPECT_EQ(L"saved before the crash 2",
              GetText(GetObject(items.Get(), L"Item", {Long(2)}).Get(), L"Subject"));
    EXPECT_EQ(L"Lunch", GetText(GetObject(items.Get(), L"Item", {Long(3)}).Get(), L"Subject"));
    // Opening replayed and checkpointed at once: a second crash now could lose nothing either.
    EXPECT_EQ("saved before the crash 2", Stored()["items"][1]["subject"]);
  }
  EXPECT_EQ("", ReadBytes(standin::JournalPathOf(store_)).value_or("missing"));
  EXPECT_EQ(2u, AllSaves(store_).size());
}

TEST_F(StoreTest, ATornLastJournalLineIsIgnoredButAGarbledOneStopsTheStart) {
  const std::string record =
      R"({"seq":1,"id":"000003","subject":"replayed","time":"2026-01-01T00:00:00.000"})";
  WriteBytes(standin::JournalPathOf(store_), record + "\n" + R"({"seq":2,"id":"000001","subj)");
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
  }
  EXPECT_EQ("replayed", Stored()["items"][2]["subject"]);
  EXPECT_EQ("Dentist", Stored()["items"][0]["subject"]);

  const std::string before = *ReadBytes(store_);
  const std::string garbled = "this is not a record\n";
  WriteBytes(standin::JournalPathOf(store_), garbled);
  ComPtr<IDispatch> application;
  EXPECT_TRUE(FAILED(CreateOutlook(application)));
  EXPECT_EQ(before, *ReadBytes(store_));
  EXPECT_EQ(garbled, *ReadBytes(standin::JournalPathOf(store_)));
}

struct BadStore {
  const char* name;
  std::optional<std::string> contents;  // nothing: the file does not exist
  const wchar_t* problem;               // part of the description
};

class BadStoreTest : public testing::TestWithParam<BadStore> {};

TEST_P(BadStoreTest, IsRefusedWithItsNameAndProblemAndLeftByteForByte) {
  ScratchFolder folder;
  const std::wstring store = folder.File(L"bad.json");
  if (GetParam().contents) WriteBytes(store, *GetParam().contents);
  UseStore(store);

  ComPtr<IDispatch> application;
  const HRESULT hr = CreateOutlook(application);
  EXPECT_TRUE(FAILED(hr));
  EXPECT_EQ(nullptr, application.Get());
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(S_OK, GetErrorInfo(0, &info));
  BSTR description = nullptr;
  info->GetDescription(&description);
  const std::wstring text = description ? description : L"";
  SysFreeString(description);
  EXPECT_NE(std::wstring::npos, text.find(store)) << Narrow(text);
  EXPECT_NE(std::wstring::npos, text.find(GetParam().problem)) << Narrow(text);

  EXPECT_EQ(GetParam().contents, ReadBytes(store));
  EXPECT_FALSE(ReadBytes(store + L".checkpoint.tmp").has_value());
}

const std::string kValid = StoreDocument({{"000001", "Dentist"}}).dump();

INSTANTIATE_TEST_SUITE_P(
    Store, BadStoreTest,
    testing::Values(
        BadStore{"missing", std::nullopt, L"does not exist"},
        BadStore{"truncated", kValid.substr(0, kValid.size() / 2), L"not valid JSON"},
        BadStore{"empty", std::string(), L"not valid JSON"},
        BadStore{"notJson", std::string("mailbox = Anna\n"), L"not valid JSON"},
        BadStore{"noItems", std::string(R"({"mailbox":"M"})"), L"\"items\""},
        BadStore{"badStart",
                 std::string(R"({"mailbox":"M","items":[{"id":"1","start":"8-12-2026"}]})"),
                 L"items[0].start"},
        BadStore{"twiceTheSameId",
                 std::string(R"({"mailbox":"M","items":[{"id":"1","start":"2026-12-08T09:30:00"},)"
                             R"({"id":"1","start":"2026-12-08T09:30:00"}]})"),
                 L"occurs twice"}),
    [](const testing::TestParamInfo<BadStore>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace standin_test

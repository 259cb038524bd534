// The object model in-process: the path a client walks, what each kind of element answers,
// injected failures, enumeration while saving, and the cost of a call.

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <set>

#include "dispatch_calls.h"
#include "regional_format.h"
#include "store/store_session.h"
#include "test_support.h"

namespace standin_test {
namespace {

const GUID kAppointmentIid = {0x00063033, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

nlohmann::json OutlookError(std::int32_t number, const char* description) {
  return {{"number", number}, {"description", description}, {"source", "Microsoft Outlook"}};
}

class ModelTest : public testing::Test {
 protected:
  void Open(nlohmann::json document) {
    store_ = folder_.File(L"calendar.json");
    WriteBytes(store_, document.dump());
    UseStore(store_);
    ASSERT_EQ(S_OK, CreateOutlook(application_));
  }
  static std::vector<TestItem> Mixed() {
    std::vector<TestItem> items = {{"000001", "Dentist"},
                                   {"000002", "Invitation: review", "2026-12-09T10:00:00"},
                                   {"000003", "Series", "2026-12-10T08:00:00"}};
    items[1].itemClass = 53;
    items[2].busy = 3;
    items[2].recurrence = 1;
    return items;
  }
  Outcome Try(IDispatch* object, const wchar_t* name) {
    standin::Variant ignored;
    return TryInvoke(object, name, kGet, {}, ignored.get());
  }

  ScratchFolder folder_;
  std::wstring store_;
  ComPtr<IDispatch> application_;
};

TEST_F(ModelTest, ThePathFromApplicationToItemAndBackUp) {
  Open(StoreDocument(Mixed()));
  auto calendar = OpenCalendar(application_.Get());
  EXPECT_EQ(L"Calendar", GetText(calendar.Get(), L"name"));  // names ignore case
  EXPECT_EQ(2, GetLong(calendar.Get(), L"Class"));
  auto mailbox = GetObject(calendar.Get(), L"Parent");
  EXPECT_EQ(L"Mailbox - Anna de Vries", GetText(mailbox.Get(), L"Name"));
  standin::Variant value;  // the folder's default value is its name
  ASSERT_EQ(S_OK, TryInvokeId(mailbox.Get(), DISPID_VALUE, kGet, {}, value.get()).hr);
  EXPECT_EQ(L"Mailbox - Anna de Vries", std::wstring((*value).bstrVal));
  auto nameSpace = GetObject(mailbox.Get(), L"Parent");
  EXPECT_EQ(1, GetLong(nameSpace.Get(), L"Class"));
  EXPECT_EQ(0, GetLong(GetObject(nameSpace.Get(), L"Parent").Get(), L"Class"));

  auto items = GetObject(calendar.Get(), L"Items");
  EXPECT_EQ(16, GetLong(items.Get(), L"Class"));
  EXPECT_EQ(3, GetLong(items.Get(), L"Count"));
  auto appointment = GetObject(items.Get(), L"Item", {Long(1)});
  EXPECT_EQ(26, GetLong(appointment.Get(), L"Class"));
  EXPECT_EQ(L"IPM.Appointment", GetText(appointment.Get(), L"MessageClass"));
  EXPECT_EQ(2, GetLong(appointment.Get(), L"BusyStatus"));
  EXPECT_DOUBLE_EQ(46364.0 + 9.5 / 24, GetDate(appointment.Get(), L"Start"));  // 2026-12-08 09:30
  EXPECT_EQ(L"Calendar", GetText(GetObject(appointment.Get(), L"Parent").Get(), L"Name"));
  auto series = GetObject(items.Get(), L"Item", {Long(3)});
  EXPECT_EQ(1, GetLong(series.Get(), L"RecurrenceState"));
  EXPECT_EQ(3, GetLong(series.Get(), L"BusyStatus"));

  // Each Items call is a new view: sorting one leaves the next untouched.
  standin::Bstr start(L"[Start]");
  CallMethod(items.Get(), L"Sort", {Text(start), Bool(true)});
  auto fresh = GetObject(calendar.Get(), L"Items");
  EXPECT_EQ(L"000001", GetText(GetObject(fresh.Get(), L"Item", {Long(1)}).Get(), L"EntryID"));
  EXPECT_EQ(L"000003", GetText(GetObject(items.Get(), L"Item", {Long(1)}).Get(), L"EntryID"));
  for (long outside : {0L, 4L}) {
    standin::Variant none;
    EXPECT_EQ(DISP_E_EXCEPTION,
              TryInvoke(items.Get(), L"Item", kGet, {Long(outside)}, none.get()).hr);
  }
}

TEST_F(ModelTest, AMeetingRequestIsNoAppointment) {
  Open(StoreDocument(Mixed()));
  auto items = GetObject(OpenCalendar(application_.Get()).Get(), L"Items");
  auto appointment = GetObject(items.Get(), L"Item", {Long(1)});
  auto meeting = GetObject(items.Get(), L"Item", {Long(2)});
  EXPECT_EQ(53, GetLong(meeting.Get(), L"Class"));
  EXPECT_EQ(L"IPM.Schedule.Meeting.Request", GetText(meeting.Get(), L"MessageClass"));
  EXPECT_EQ(L"Invitation: review", GetText(meeting.Get(), L"Subject"));
  EXPECT_EQ(DISP_E_UNKNOWNNAME, Try(meeting.Get(), L"BusyStatus").hr);
  EXPECT_EQ(DISP_E_UNKNOWNNAME, Try(meeting.Get(), L"RecurrenceState").hr);
  standin::Variant none;
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, TryInvokeId(meeting.Get(), 33285, kGet, {}, none.get()).hr);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, TryInvokeId(meeting.Get(), 62789, kGet, {}, none.get()).hr);

  ComPtr<IUnknown> cast;
  EXPECT_EQ(S_OK, appointment->QueryInterface(kAppointmentIid, &cast));
  EXPECT_EQ(E_NOINTERFACE, meeting->QueryInterface(kAppointmentIid, &cast));
  EXPECT_EQ(E_NOINTERFACE, items->QueryInterface(kAppointmentIid, &cast));
}

TEST_F(ModelTest, TheApplicationServesOnlyMapiAndTheCalendar) {
  nlohmann::json document = StoreDocument(Mixed());
  document["explorer"] = false;
  Open(document);
  standin::Bstr other(L"OTHER"), mapi(L"mapi");
  standin::Variant result;
  EXPECT_EQ(DISP_E_EXCEPTION, TryInvoke(application_.Get(), L"GetNamespace", DISPATCH_METHOD,
                                        {Text(other)}, result.get())
                                  .hr);
  auto nameSpace = GetObject(application_.Get(), L"GetNamespace", {Text(mapi)});
  standin::Variant inbox;
  EXPECT_EQ(
      DISP_E_EXCEPTION,
      TryInvoke(nameSpace.Get(), L"GetDefaultFolder", DISPATCH_METHOD, {Long(6)}, inbox.get()).hr);
  standin::Variant explorer;
  ASSERT_EQ(S_OK, TryInvoke(application_.Get(), L"ActiveExplorer", kGet, {}, explorer.get()).hr);
  EXPECT_TRUE((*explorer).vt == VT_EMPTY ||
              ((*explorer).vt == VT_DISPATCH && !(*explorer).pdispVal));
}

TEST_F(ModelTest, TheStoreDecidesTheExplorerInProcess) {
  Open(StoreDocument(Mixed()));
  auto explorer = GetObject(application_.Get(), L"ActiveExplorer");
  ASSERT_NE(nullptr, explorer.Get());
  EXPECT_EQ(34, GetLong(explorer.Get(), L"Class"));
  EXPECT_EQ(L"Calendar", GetText(GetObject(explorer.Get(), L"CurrentFolder").Get(), L"Name"));
}

TEST_F(ModelTest, InjectedFailuresReachTheClientAsOutlookErrors) {
  std::vector<TestItem> items = Mixed();
  items[0].fail = {
      {"Save", OutlookError(-2147467260, "Operation aborted")},
      {"Subject.put",
       OutlookError(-2147221233, "The attempted operation failed. An object could not be found.")}};
  items[2].fail = {{"RecurrenceState", OutlookError(-2147467259, "Unspecified error")},
                   {"BusyStatus", OutlookError(-2147467259, "Busy broken")}};
  Open(StoreDocument(items));
  auto list = GetObject(OpenCalendar(application_.Get()).Get(), L"Items");
  auto locked = GetObject(list.Get(), L"Item", {Long(1)});
  Outcome save = [&] {
    standin::Variant none;
    return TryInvoke(locked.Get(), L"Save", DISPATCH_METHOD, {}, none.get());
  }();
  EXPECT_EQ(DISP_E_EXCEPTION, save.hr);
  EXPECT_EQ(4096, save.code) << "Outlook sets its code beside the status";
  EXPECT_EQ((quorvel::ErrorRecord{-2147467260, L"Operation aborted", L"Microsoft Outlook"}),
            save.error);
  standin::Bstr text(L"x");
  const Outcome put =
      TryInvoke(locked.Get(), L"Subject", DISPATCH_PROPERTYPUT, {Text(text)}, nullptr);
  EXPECT_EQ(-2147221233, put.error.number);
  EXPECT_EQ(L"Dentist", GetText(locked.Get(), L"Subject")) << "a failed write changed the subject";
  auto series = GetObject(list.Get(), L"Item", {Long(3)});
  EXPECT_EQ(L"Unspecified error", Try(series.Get(), L"RecurrenceState").error.description);
  EXPECT_EQ(L"Busy broken", Try(series.Get(), L"BusyStatus").error.description);
  EXPECT_EQ(L"Series", GetText(series.Get(), L"Subject"));  // the rest of the item still works
  EXPECT_TRUE(JournalRecords(standin::JournalPathOf(store_)).empty())
      << "a failed save was journalled";
}

TEST_F(ModelTest, NamespaceAndCalendarFaults) {
  nlohmann::json document = StoreDocument(Mixed());
  document["faults"] = {{"namespace", OutlookError(-2147221233, "no profile")}};
  Open(document);
  standin::Bstr mapi(L"MAPI");
  standin::Variant none;
  const Outcome failed =
      TryInvoke(application_.Get(), L"GetNamespace", DISPATCH_METHOD, {Text(mapi)}, none.get());
  EXPECT_EQ(DISP_E_EXCEPTION, failed.hr);
  EXPECT_EQ(L"no profile", failed.error.description);
  application_.Reset();

  document["faults"] = {{"defaultFolder", OutlookError(-2147221233, "no calendar")}};
  Open(document);
  auto nameSpace = GetObject(application_.Get(), L"GetNamespace", {Text(mapi)});
  EXPECT_EQ(L"no calendar",
            TryInvoke(nameSpace.Get(), L"GetDefaultFolder", DISPATCH_METHOD, {Long(9)}, none.get())
                .error.description);
}

// Each store-level fault fails its member on the folder's items and on a restricted view
// alike, and leaves the other two members working.
TEST_F(ModelTest, RestrictCountAndSortFailWithTheStoresError) {
  const std::wstring bound = FormatShortDate(CurrentShortDatePattern().c_str(), 2026, 12, 1);
  standin::Bstr filter(L"[Start] >= '" + bound + L" 00:00 am'"), start(L"[Start]");
  for (const char* member : {"restrict", "count", "sort"}) {
    SCOPED_TRACE(member);
    nlohmann::json document = StoreDocument(Mixed());
    document["faults"] = {{member, OutlookError(-2147467259, member)}};
    Open(document);
    auto all = GetObject(OpenCalendar(application_.Get()).Get(), L"Items");
    std::vector<ComPtr<IDispatch>> views = {all};
    standin::Variant restricted;
    const Outcome restrict =
        TryInvoke(all.Get(), L"Restrict", DISPATCH_METHOD, {Text(filter)}, restricted.get());
    if ((*restricted).vt == VT_DISPATCH) views.push_back((*restricted).pdispVal);
    std::map<std::string, Outcome> outcomes = {{"restrict", restrict}};
    for (const auto& view : views) {
      outcomes["count"] = Try(view.Get(), L"Count");
      standin::Variant none;
      outcomes["sort"] = TryInvoke(view.Get(), L"Sort", DISPATCH_METHOD, {Text(start)}, none.get());
      for (const auto& [name, outcome] : outcomes) {
        if (name == member) {
          EXPECT_EQ(DISP_E_EXCEPTION, outcome.hr) << name;
          EXPECT_EQ(4096, outcome.code) << name;
          EXPECT_EQ(-2147467259, outcome.error.number) << name;
          EXPECT_EQ(Narrow(L"Microsoft Outlook"), Narrow(outcome.error.source)) << name;
        } else {
          EXPECT_EQ(S_OK, outcome.hr) << name;
        }
      }
    }
    EXPECT_EQ(std::string(member) == "restrict" ? 1u : 2u, views.size());
    application_.Reset();
  }
}

// A batch stops before an element that cannot be fetched; the walk stays there, so the next
// call fails with the element's error, description and source included.
TEST_F(ModelTest, AnElementThatCannotBeFetchedEndsTheBatchBeforeIt) {
  std::vector<TestItem> items;
  for (const char* id : {"1", "2", "3", "4", "5"}) items.emplace_back(id, "x");
  items[3].fail = {{"Fetch", OutlookError(-2147023170, "The remote procedure call failed.")}};
  Open(StoreDocument(items));
  auto walk = Enumerate(GetObject(OpenCalendar(application_.Get()).Get(), L"Items").Get());
  {
    Batch first(walk.Get(), 10);
    EXPECT_EQ(S_FALSE, first.hr);
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3"}), first.EntryIds());
  }
  for (ULONG wanted : {1u, 4u}) {
    Batch failed(walk.Get(), wanted);
    EXPECT_EQ(static_cast<HRESULT>(0x800706BE), failed.hr);
    EXPECT_EQ(0u, failed.fetched);
    EXPECT_EQ(VT_EMPTY, failed.elements[0].vt);
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(S_OK, walk.As(&support));
    EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_IEnumVARIANT));
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(S_OK, GetErrorInfo(0, &info));
    BSTR description = nullptr, source = nullptr;
    info->GetDescription(&description);
    info->GetSource(&source);
    EXPECT_STREQ(L"The remote procedure call failed.", description);
    EXPECT_STREQ(L"Microsoft Outlook", source);
    SysFreeString(description);
    SysFreeString(source);
  }
  ASSERT_EQ(S_OK, walk->Skip(1));
  Batch rest(walk.Get(), 3);
  EXPECT_EQ(S_FALSE, rest.hr);
  EXPECT_EQ(std::vector<std::wstring>{L"5"}, rest.EntryIds());
}

// Online mode: the item past the limit of items held open fails, from Item and from the
// enumerator alike, until one is let go.
TEST_F(ModelTest, AnItemPastTheOpenLimitFailsUntilOneIsLetGo) {
  std::vector<TestItem> items;
  for (int i = 1; i <= 260; ++i) items.emplace_back(std::to_string(i), "x");
  nlohmann::json document = StoreDocument(items);
  document["faults"]["openItemLimit"] = 250;
  Open(document);
  auto list = GetObject(OpenCalendar(application_.Get()).Get(), L"Items");
  std::vector<ComPtr<IDispatch>> held;
  for (long i = 1; i <= 248; ++i) held.push_back(GetObject(list.Get(), L"Item", {Long(i)}));
  auto walk = Enumerate(list.Get());
  {
    Batch two(walk.Get(), 5);
    EXPECT_EQ(S_FALSE, two.hr);
    EXPECT_EQ(2u, two.fetched);
    EXPECT_EQ(static_cast<HRESULT>(0x8004011D), Batch(walk.Get(), 1).hr);
    standin::Variant none;
    const Outcome over = TryInvoke(list.Get(), L"Item", kGet, {Long(1)}, none.get());
    EXPECT_EQ(DISP_E_EXCEPTION, over.hr);
    EXPECT_EQ(4096, over.code);
    EXPECT_EQ(static_cast<std::int32_t>(0x8004011D), over.error.number);
    EXPECT_EQ(0u, over.error.description.find(L"Your server administrator has limited the number "
                                              L"of items you can open simultaneously."))
        << Narrow(over.error.description);
  }
  EXPECT_EQ(std::vector<std::wstring>{L"3"}, Batch(walk.Get(), 1).EntryIds());
}

// Outlook's pace for the benchmarks: every call served waits, a Save waits further.
TEST_F(ModelTest, TheStoresLatencyDelaysEveryCallAndEverySaveMore) {
  nlohmann::json document = StoreDocument(Mixed());
  document["latency"] = {{"callMs", 2}, {"saveMs", 30}};
  Open(document);
  auto items = GetObject(OpenCalendar(application_.Get()).Get(), L"Items");
  auto item = GetObject(items.Get(), L"Item", {Long(1)});
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
  };
  const auto counted = Clock::now();
  for (int i = 0; i < 25; ++i) GetLong(items.Get(), L"Count");  // 50 calls: names, then Invoke
  const double perCall = ms(counted) / 50;
  const auto saved = Clock::now();
  CallMethod(item.Get(), L"Save");
  const double save = ms(saved);
  std::printf("latency 2 ms per call, 30 ms per save: %.2f ms per call, %.1f ms per Save\n",
              perCall, save);
  EXPECT_GE(perCall, 2.0);
  EXPECT_GE(save, 2 * 2.0 + 30);
}

class EnumerationTest : public ModelTest {
 protected:
  void SetUp() override {
    std::vector<TestItem> items;
    for (int i = 0; i < 200; ++i) {
      char id[16], start[32];
      std::snprintf(id, sizeof id, "%06d", i + 1);
      // Starts out of store order, many equal, so a sort moves elements around.
      std::snprintf(start, sizeof start, "2026-12-%02dT09:00:00", 1 + (i * 7) % 20);
      items.emplace_back(id, "Subject", start);
    }
    Open(StoreDocument(items));
    items_ = GetObject(OpenCalendar(application_.Get()).Get(), L"Items");
  }
  ComPtr<IDispatch> items_;
};

TEST_F(EnumerationTest, SavingEveryElementDuringTheWalkVisitsEachExactlyOnce) {
  standin::Bstr start(L"[Start]");
  CallMethod(items_.Get(), L"Sort", {Text(start)});
  std::vector<std::wstring> visited;
  double previous = 0;
  auto walk = Enumerate(items_.Get());
  while (auto item = NextElement(walk.Get())) {
    visited.push_back(GetText(item.Get(), L"EntryID"));
    const double when = GetDate(item.Get(), L"Start");
    EXPECT_LE(previous, when) << "out of order";
    previous = when;
    PutText(item.Get(), L"Subject", GetText(item.Get(), L"Subject") + L" ");
    CallMethod(item.Get(), L"Save");
    // Sorting the view again mid-walk must not disturb the walk either.
    if (visited.size() == 100) CallMethod(items_.Get(), L"Sort", {Text(start), Bool(true)});
  }
  EXPECT_EQ(200u, visited.size());
  EXPECT_EQ(200u, std::set<std::wstring>(visited.begin(), visited.end()).size());
  EXPECT_EQ(200u, JournalRecords(standin::JournalPathOf(store_)).size());
}

TEST_F(EnumerationTest, NextSkipResetAndCloneAgree) {
  auto walk = Enumerate(items_.Get());
  {
    Batch three(walk.Get(), 3);
    EXPECT_EQ(S_OK, three.hr);
    EXPECT_EQ((std::vector<std::wstring>{L"000001", L"000002", L"000003"}), three.EntryIds());
  }
  ASSERT_EQ(S_OK, walk->Skip(190));
  ComPtr<IEnumVARIANT> copy;
  ASSERT_EQ(S_OK, walk->Clone(&copy));
  EXPECT_EQ(L"000194", GetText(NextElement(copy.Get()).Get(), L"EntryID"));
  EXPECT_EQ(L"000194", GetText(NextElement(walk.Get()).Get(), L"EntryID"));
  ComPtr<IEnumVARIANT> tail;
  ASSERT_EQ(S_OK, walk->Clone(&tail));
  EXPECT_EQ(S_FALSE, walk->Skip(10));  // only 6 were left
  EXPECT_EQ(nullptr, NextElement(walk.Get()).Get());
  {
    Batch fewer(tail.Get(), 10);
    EXPECT_EQ(S_FALSE, fewer.hr);
    EXPECT_EQ((std::vector<std::wstring>{L"000195", L"000196", L"000197", L"000198", L"000199",
                                         L"000200"}),
              fewer.EntryIds());
  }
  ASSERT_EQ(S_OK, walk->Reset());
  EXPECT_EQ(L"000001", GetText(NextElement(walk.Get()).Get(), L"EntryID"));
}

TEST_F(EnumerationTest, AnInProcessCallCostsMicroseconds) {
  DISPID count = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"Count");
  ASSERT_EQ(S_OK, items_->GetIDsOfNames(IID_NULL, &name, 1, 0, &count));
  const int calls = 200000;
  DISPPARAMS none{};
  const auto begin = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) {
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(S_OK, items_->Invoke(count, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result,
                                   nullptr, nullptr));
  }
  const double perCall =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin).count() /
      calls;
  std::printf("in-process Invoke: %.3f us per Items.Count\n", perCall);
  EXPECT_LT(perCall, 20.0);
}

TEST_F(ModelTest, AShellStartOfOutlookIsRecordedBetweenTheSaves) {
  Open(StoreDocument(Mixed()));
  auto item = GetObject(GetObject(OpenCalendar(application_.Get()).Get(), L"Items").Get(), L"Item",
                        {Long(1)});
  CallMethod(item.Get(), L"Save");
  const ProgramRun shell = RunProgram(BesideThisProgram(L"Outlook.exe"), L"/recycle", 30000);
  EXPECT_EQ(0u, shell.exitCode.value_or(99)) << shell.errors;
  CallMethod(item.Get(), L"Save");
  const auto journal = JournalRecords(standin::JournalPathOf(store_));
  ASSERT_EQ(3u, journal.size());
  EXPECT_EQ("launch", journal[1].value("event", ""));
  EXPECT_EQ("/recycle", journal[1].value("arguments", ""));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(i + 1, journal[i]["seq"]) << "sequence numbers collide";
}

}  // namespace
}  // namespace standin_test

// The stand-in as a local server: how it starts, its explorer, a single instance, the busy
// period after a save, and enumeration across processes.

#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "dispatch_calls.h"
#include "registry/standin_registry.h"
#include "store/store_session.h"
#include "test_support.h"

namespace standin_test {
namespace {

constexpr wchar_t kMainClass[] = L"QuorvelStandinOutlookMain";
constexpr wchar_t kExplorerClass[] = L"QuorvelStandinExplorer";
constexpr DWORD kStartTimeoutMs = 20000;

bool ServerRuns() {
  return FindWindowW(kMainClass, nullptr) != nullptr;
}
HWND Explorer() {
  return FindWindowW(kExplorerClass, nullptr);
}

bool HasExplorer(IDispatch* application) {
  standin::Variant result;
  const Outcome outcome = TryInvoke(application, L"ActiveExplorer", kGet, {}, result.get());
  if (FAILED(outcome.hr)) throw quorvel::Error(outcome.hr, L"ActiveExplorer failed", L"test");
  return (*result).vt == VT_DISPATCH && (*result).pdispVal;
}

class LocalServerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WaitFor([] { return !ServerRuns(); }, kStartTimeoutMs)) << "a server is left over";
    store_ = folder_.File(L"calendar.json");
    ASSERT_EQ(S_OK, standin::SetStorePath(store_));
  }

  static nlohmann::json Document(std::size_t count) {
    std::vector<TestItem> items;
    for (std::size_t i = 1; i <= count; ++i) {
      char id[16];
      std::snprintf(id, sizeof id, "%06zu", i);
      items.emplace_back(id, "Subject " + std::to_string(i));
    }
    return StoreDocument(items);
  }

  void WriteStore(std::size_t count, int busyAfterSaveMs = 0, const char* busyReply = nullptr) {
    nlohmann::json document = Document(count);
    document["faults"]["busyAfterSaveMs"] = busyAfterSaveMs;
    if (busyReply) document["faults"]["busyReply"] = busyReply;
    WriteBytes(store_, document.dump());
  }

  // After the last client reference the server checkpoints and ends.
  void ExpectServerEnds() {
    EXPECT_TRUE(WaitFor([] { return !ServerRuns(); }, kStartTimeoutMs)) << "the server stays";
  }

  ScratchFolder folder_;
  std::wstring store_;
};

TEST_F(LocalServerTest, StartedByComItHasNoExplorerAndEndsWithItsLastClient) {
  WriteStore(20);
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    EXPECT_TRUE(ServerRuns());
    EXPECT_FALSE(HasExplorer(application.Get()));
    EXPECT_EQ(nullptr, Explorer());
    auto calendar = OpenCalendar(application.Get());
    EXPECT_EQ(L"Mailbox - Anna de Vries", GetText(GetObject(calendar.Get(), L"Parent").Get(), L""));
    auto items = GetObject(calendar.Get(), L"Items");

    // The cost of one cross-process call, for the benchmarks' floor.
    const int calls = 500;
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i) ASSERT_EQ(20, GetLong(items.Get(), L"Count"));
    const auto spent = std::chrono::steady_clock::now() - begin;
    std::printf("cross-process GetIDsOfNames+Invoke: %.1f us per Count\n",
                std::chrono::duration<double, std::micro>(spent).count() / calls);
  }
  ExpectServerEnds();
  const auto calls = nlohmann::json::parse(ReadBytes(standin::CallsPathOf(store_)).value_or("{}"));
  EXPECT_EQ(500, calls.value("Items.Count", 0));
}

TEST_F(LocalServerTest, EnumerationWhileSavingVisitsEachElementOnce) {
  WriteStore(150);
  std::multiset<std::wstring> visited;
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    auto items = GetObject(OpenCalendar(application.Get()).Get(), L"Items");
    standin::Bstr start(L"[Start]");
    CallMethod(items.Get(), L"Sort", {Text(start)});
    auto walk = Enumerate(items.Get());
    while (auto item = NextElement(walk.Get())) {
      visited.insert(GetText(item.Get(), L"EntryID"));
      PutText(item.Get(), L"Subject", GetText(item.Get(), L"Subject") + L" ");
      CallMethod(item.Get(), L"Save");
    }
  }
  ExpectServerEnds();
  EXPECT_EQ(150u, visited.size());
  EXPECT_EQ(150u, std::set<std::wstring>(visited.begin(), visited.end()).size());
  const auto stored = nlohmann::json::parse(*ReadBytes(store_));
  for (const auto& item : stored["items"])
    EXPECT_EQ(' ', item["subject"].get<std::string>().back()) << item["id"];
  EXPECT_EQ(150u, AllSaves(store_).size());
}

// What the in-process tests pin, across processes: a batch stops before an element that
// cannot be fetched, whose error then fails the next call; Restrict fails as set.
TEST_F(LocalServerTest, StoreFaultsReachTheClientAcrossProcesses) {
  nlohmann::json document = Document(4);
  document["items"][2]["fail"]["Fetch"] = {{"number", -2147023170},
                                           {"description", "The remote procedure call failed."}};
  document["faults"]["restrict"] = {{"number", -2147352567},
                                    {"description", "Cannot parse condition."}};
  WriteBytes(store_, document.dump());
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    auto items = GetObject(OpenCalendar(application.Get()).Get(), L"Items");
    auto walk = Enumerate(items.Get());
    {
      Batch first(walk.Get(), 4);
      EXPECT_EQ(S_FALSE, first.hr);
      EXPECT_EQ((std::vector<std::wstring>{L"000001", L"000002"}), first.EntryIds());
    }
    // Wine 8 carries no error information back across processes, so only the number crosses.
    EXPECT_EQ(static_cast<HRESULT>(0x800706BE), Batch(walk.Get(), 1).hr);
    standin::Bstr filter(L"[Start] > 'x'");
    standin::Variant none;
    const Outcome restrict =
        TryInvoke(items.Get(), L"Restrict", DISPATCH_METHOD, {Text(filter)}, none.get());
    EXPECT_EQ(DISP_E_EXCEPTION, restrict.hr);
    EXPECT_EQ(4096, restrict.code) << "both codes cross";
    EXPECT_EQ((quorvel::ErrorRecord{-2147352567, L"Cannot parse condition.", L"Microsoft Outlook"}),
              restrict.error);
  }
  ExpectServerEnds();
}

// A client that lets go of each item before the next stays clear of the open-item limit
// across processes too: its releases reach the server at once.
TEST_F(LocalServerTest, ItemsLetGoAcrossProcessesCloseAtOnce) {
  nlohmann::json document = Document(300);
  document["faults"]["openItemLimit"] = 250;
  WriteBytes(store_, document.dump());
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    auto items = GetObject(OpenCalendar(application.Get()).Get(), L"Items");
    auto walk = Enumerate(items.Get());
    int walked = 0;
    while (NextElement(walk.Get())) ++walked;
    EXPECT_EQ(300, walked);
    std::vector<ComPtr<IDispatch>> held;
    for (long i = 1; i <= 250; ++i) held.push_back(GetObject(items.Get(), L"Item", {Long(i)}));
    standin::Variant none;
    const Outcome over = TryInvoke(items.Get(), L"Item", kGet, {Long(251)}, none.get());
    EXPECT_EQ(DISP_E_EXCEPTION, over.hr);
    EXPECT_EQ(static_cast<std::int32_t>(0x8004011D), over.error.number);
  }
  ExpectServerEnds();
}

TEST_F(LocalServerTest, AShellStartOpensTheExplorerAndASecondStartReusesTheInstance) {
  WriteStore(5);
  const std::wstring outlook = BesideThisProgram(L"Outlook.exe");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring command = L"\"" + outlook + L"\"";
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  standin::UniqueHandle server(process.hProcess), thread(process.hThread);
  ASSERT_TRUE(WaitFor([] { return Explorer() != nullptr; }, kStartTimeoutMs));
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    ASSERT_TRUE(HasExplorer(application.Get()));
    auto explorer = GetObject(application.Get(), L"ActiveExplorer");
    EXPECT_EQ(34, GetLong(explorer.Get(), L"Class"));
    EXPECT_EQ(L"Calendar", GetText(GetObject(explorer.Get(), L"CurrentFolder").Get(), L"Name"));

    // Closed, then asked for again from the shell: the running instance opens it anew.
    SendMessageW(Explorer(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([] { return Explorer() == nullptr; }, 5000));
    EXPECT_FALSE(HasExplorer(application.Get()));
    const ProgramRun second = RunProgram(outlook, L"", kStartTimeoutMs);
    EXPECT_EQ(0u, second.exitCode.value_or(99)) << second.errors;
    EXPECT_TRUE(WaitFor([] { return Explorer() != nullptr; }, 5000));
    EXPECT_TRUE(HasExplorer(application.Get()));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(server.get(), 0)) << "the first instance ended";
  }
  // Its window keeps the server alive after the last client; closing it ends the server.
  Sleep(300);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(server.get(), 0));
  SendMessageW(Explorer(), WM_CLOSE, 0, 0);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(server.get(), kStartTimeoutMs));
  DWORD code = 99;
  GetExitCodeProcess(server.get(), &code);
  EXPECT_EQ(0u, code);
}

TEST_F(LocalServerTest, AServerStartedByComOpensItsExplorerWhenTheShellStartsOutlook) {
  WriteStore(5);
  {
    ComPtr<IDispatch> application;
    ASSERT_EQ(S_OK, CreateOutlook(application));
    ASSERT_FALSE(HasExplorer(application.Get()));
    const ProgramRun shell = RunProgram(BesideThisProgram(L"Outlook.exe"), L"", kStartTimeoutMs);
    EXPECT_EQ(0u, shell.exitCode.value_or(99)) << shell.errors;
    EXPECT_TRUE(WaitFor([&] { return HasExplorer(application.Get()); }, 5000));
    SendMessageW(Explorer(), WM_CLOSE, 0, 0);
  }
  ExpectServerEnds();
}

TEST_F(LocalServerTest, ABadStoreIsReportedOnStderrAndTheServerExitsWithFailure) {
  const std::string truncated = R"({"mailbox":"M","items":[{"id":"1",)";
  WriteBytes(store_, truncated);
  const ProgramRun run = RunProgram(BesideThisProgram(L"Outlook.exe"), L"", kStartTimeoutMs);
  ASSERT_TRUE(run.exitCode.has_value());
  EXPECT_NE(0u, *run.exitCode);
  EXPECT_NE(std::string::npos, run.errors.find(Narrow(store_))) << run.errors;
  EXPECT_NE(std::string::npos, run.errors.find("not valid JSON")) << run.errors;
  EXPECT_EQ(truncated, *ReadBytes(store_));
}

TEST_F(LocalServerTest, AClientOfABadStoreGetsTheStoreErrorAtOnceAndTheStoreStaysAsItWas) {
  const std::string not_json = "this is not a calendar";
  WriteBytes(store_, not_json);
  const auto started = std::chrono::steady_clock::now();
  ComPtr<IDispatch> application;
  const HRESULT hr = CreateOutlook(application);
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_EQ(static_cast<HRESULT>(0x8007000D), hr);  // ERROR_INVALID_DATA
  EXPECT_LT(waited, std::chrono::seconds(10)) << "the client waited for COM's start-up timeout";
  EXPECT_EQ(not_json, *ReadBytes(store_));
  ExpectServerEnds();
}

// A client filter like the product's: retries a refused call every 50 ms for 10 s.
class RetryingFilter final : public IMessageFilter {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
    return SERVERCALL_ISHANDLED;
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD) override {
    ++retries;
    return elapsed < 10000 ? 50 : DWORD(-1);
  }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    return PENDINGMSG_WAITDEFPROCESS;
  }
  int retries = 0;
};

struct BusyObservation {
  HRESULT firstCall;        // the call right after the save
  double firstCallMs;       // how long it took
  int clientRetries;        // RetryRejectedCall calls COM made on the client
  double recoveredAfterMs;  // until a call succeeded, retrying on RPC_E_CALL_REJECTED ourselves
  int refused;              // the server's count of refused calls
};

class BusyPeriodTest : public LocalServerTest {
 protected:
  BusyObservation Observe(const char* reply) {
    WriteStore(3, 600, reply);
    RetryingFilter filter;
    IMessageFilter* previous = nullptr;
    CoRegisterMessageFilter(&filter, &previous);
    BusyObservation seen{};
    {
      ComPtr<IDispatch> application;
      EXPECT_EQ(S_OK, CreateOutlook(application));
      auto item = GetObject(GetObject(OpenCalendar(application.Get()).Get(), L"Items").Get(),
                            L"Item", {Long(1)});
      DISPID subject = 0;
      LPOLESTR name = const_cast<LPOLESTR>(L"Subject");
      EXPECT_EQ(S_OK, item->GetIDsOfNames(IID_NULL, &name, 1, 0, &subject));
      CallMethod(item.Get(), L"Save");
      const auto saved = std::chrono::steady_clock::now();
      standin::Variant value;
      seen.firstCall = TryInvokeId(item.Get(), subject, kGet, {}, value.get()).hr;
      seen.firstCallMs =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - saved)
              .count();
      HRESULT hr = seen.firstCall;
      while (hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER) {
        if (std::chrono::steady_clock::now() - saved > std::chrono::seconds(10)) break;
        Sleep(20);
        standin::Variant again;
        hr = TryInvokeId(item.Get(), subject, kGet, {}, again.get()).hr;
      }
      EXPECT_EQ(S_OK, hr);
      seen.recoveredAfterMs =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - saved)
              .count();
      seen.clientRetries = filter.retries;
    }
    CoRegisterMessageFilter(previous, nullptr);
    ExpectServerEnds();
    const auto calls =
        nlohmann::json::parse(ReadBytes(standin::CallsPathOf(store_)).value_or("{}"));
    seen.refused = calls.value("IMessageFilter.Refused", 0);
    EXPECT_GT(calls.value("IMessageFilter.HandleInComingCall", 0), 0)
        << "the server's filter was never asked";
    std::printf(
        "busy reply %s: first call 0x%08lX after %.0f ms, client retries %d, "
        "recovered after %.0f ms, server refused %d\n",
        reply, static_cast<unsigned long>(seen.firstCall), seen.firstCallMs, seen.clientRetries,
        seen.recoveredAfterMs, seen.refused);
    return seen;
  }
};

TEST_F(BusyPeriodTest, CallsDuringTheBusyPeriodAreRefusedUntilItEnds) {
  const BusyObservation seen = Observe("rejected");
  EXPECT_EQ(RPC_E_CALL_REJECTED, seen.firstCall);
  EXPECT_GE(seen.refused, 2);
  EXPECT_GE(seen.recoveredAfterMs, 500);
  EXPECT_LT(seen.recoveredAfterMs, 3000);
}

// What Wine 8 does with Outlook's own refusal: it runs the call anyway and never asks the
// client's filter. Should a Wine update start honouring it, this fails and tells us.
TEST_F(BusyPeriodTest, WineRunsACallItWasAskedToRetryLater) {
  const BusyObservation seen = Observe("retrylater");
  EXPECT_EQ(S_OK, seen.firstCall);
  EXPECT_EQ(0, seen.clientRetries);
  EXPECT_GE(seen.refused, 1);
}

}  // namespace
}  // namespace standin_test

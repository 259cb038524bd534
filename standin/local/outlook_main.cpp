// The out-of-process host, Outlook.exe. Started by COM (-Embedding) it serves the objects
// with no window, so ActiveExplorer gives none; started from the shell it opens its explorer,
// or asks the instance that already runs to open one and exits, as Outlook does. When the
// stand-in is registered in-process, a shell start only records itself in the journal.

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "common/error.h"
#include "local/busy_message_filter.h"
#include "local/explorer_window.h"
#include "object/class_factory.h"
#include "object/server_context.h"
#include "object/standin_identity.h"
#include "object/com_values.h"
#include "registry/standin_registry.h"
#include "store/text_encoding.h"

namespace {

using standin::ServerContext;

constexpr wchar_t kMainClass[] = L"QuorvelStandinOutlookMain";
constexpr UINT kOpenExplorer = WM_APP + 1;
constexpr UINT kMaybeQuit = WM_APP + 2;

void PrintError(const std::wstring& text) {
  const std::string utf8 = "Outlook stand-in: " + standin::WideToUtf8(text) + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written,
            nullptr);
}

bool HasEmbeddingSwitch() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  bool embedding = false;
  for (int i = 1; i < count; ++i)
    embedding = embedding || standin::EqualsIgnoringCase(arguments[i], L"-Embedding") ||
                standin::EqualsIgnoringCase(arguments[i], L"/Embedding");
  LocalFree(arguments);
  return embedding;
}

std::wstring ArgumentsOnly() {
  std::wstring line = GetCommandLineW();
  // Skip the program name, quoted or not.
  std::size_t at = 0;
  if (!line.empty() && line[0] == L'"') at = line.find(L'"', 1);
  at = line.find(L' ', at == std::wstring::npos ? 0 : at);
  return at == std::wstring::npos ? std::wstring() : line.substr(at + 1);
}

class MainWindow {
 public:
  explicit MainWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kMainClass;
    RegisterClassExW(&windowClass);
    // Hidden but top-level, so that a second instance finds it with FindWindow.
    window_ = CreateWindowExW(0, kMainClass, L"Outlook stand-in", WS_OVERLAPPED, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
  }
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow() {
    if (window_) DestroyWindow(window_);
  }
  HWND get() const { return window_; }

  static std::unique_ptr<standin::ExplorerWindow>* explorer;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    try {
      if (message == kOpenExplorer && explorer && *explorer) {
        (*explorer)->Open();
        return 0;
      }
      if (message == WM_TIMER) KillTimer(window, w);  // once: the no-client check
      if (message == kMaybeQuit || message == WM_TIMER) {
        const auto& context = ServerContext::Instance();
        const bool explorerOpen = explorer && *explorer && (*explorer)->IsOpen();
        if (context.objects() == 0 && context.locks() == 0 && !explorerOpen) PostQuitMessage(0);
        return 0;
      }
    } catch (...) {
      // Nothing may unwind into the window manager.
    }
    return DefWindowProcW(window, message, w, l);
  }

  HWND window_ = nullptr;
};

std::unique_ptr<standin::ExplorerWindow>* MainWindow::explorer = nullptr;

// Answers every creation with the error the store gave on start, so that no client is ever
// served by a server without a store.
class StoreErrorFactory final : public IClassFactory {
 public:
  explicit StoreErrorFactory(HRESULT error) : error_(error) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = iid == IID_IUnknown || iid == IID_IClassFactory ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }  // lives on the serving frame
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** out) override {
    if (out) *out = nullptr;
    return error_;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  HRESULT error_;
};

// COM started this server for a client that now waits for the class object. With a store
// that cannot be opened, the client is answered at once with the store's error instead of
// waiting out COM's start-up timeout; the server ends a few seconds later.
int AnswerWithStoreError(HINSTANCE instance, HRESULT error) {
  constexpr UINT kAnswerMs = 3000;
  MainWindow main(instance);  // found by whoever waits for this instance to end
  StoreErrorFactory factory(FAILED(error) ? error : E_FAIL);
  DWORD cookie = 0;
  if (FAILED(CoRegisterClassObject(standin::kStandinClsid, &factory, CLSCTX_LOCAL_SERVER,
                                   REGCLS_MULTIPLEUSE, &cookie))) {
    return 1;
  }
  const UINT_PTR timer = SetTimer(nullptr, 0, kAnswerMs, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  KillTimer(nullptr, timer);
  CoRevokeClassObject(cookie);
  return 1;
}

int Serve(HINSTANCE instance, bool embedding) {
  auto& context = ServerContext::Instance();
  context.SetHost(standin::HostKind::LocalServer);
  try {
    context.EnsureSession();
  } catch (const quorvel::Error& error) {
    PrintError(error.record().description);
    return embedding ? AnswerWithStoreError(instance, static_cast<HRESULT>(error.number())) : 1;
  }

  MainWindow main(instance);
  std::unique_ptr<standin::ExplorerWindow> explorer = std::make_unique<standin::ExplorerWindow>(
      instance, [&main] { PostMessageW(main.get(), kMaybeQuit, 0, 0); });
  MainWindow::explorer = &explorer;

  const auto& faults = context.session().model().faults();
  standin::BusyMessageFilter filter(
      standin::ChooseRefusal(std::wstring(faults.busyReply.begin(), faults.busyReply.end())));
  CoRegisterMessageFilter(&filter, nullptr);
  filter.StartBusy(static_cast<unsigned>(faults.startupBusyMs));
  const unsigned busyMs = static_cast<unsigned>(faults.busyAfterSaveMs);
  context.onSaved = [&filter, busyMs] { filter.StartBusy(busyMs); };
  context.onIdle = [&main] { PostMessageW(main.get(), kMaybeQuit, 0, 0); };
  // A client that gave up while every activation was refused never comes back: a server
  // COM started for it ends a while after its start-up, unless someone holds an object.
  constexpr UINT kNoClientGraceMs = 5000;
  const UINT_PTR noClient =
      embedding ? SetTimer(main.get(), 1,
                           static_cast<UINT>(faults.startupBusyMs) + kNoClientGraceMs, nullptr)
                : 0;

  DWORD cookie = 0;
  HRESULT hr = CoRegisterClassObject(standin::kStandinClsid, standin::ApplicationFactory(),
                                     CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
  if (FAILED(hr)) {
    PrintError(L"cannot register the class object: " + std::to_wstring(hr));
    return 1;
  }
  if (!embedding) explorer->Open();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }

  if (noClient) KillTimer(main.get(), noClient);
  CoRevokeClassObject(cookie);
  CoRegisterMessageFilter(nullptr, nullptr);
  MainWindow::explorer = nullptr;
  explorer.reset();
  context.onIdle = nullptr;
  context.onSaved = nullptr;
  return context.CloseSession() ? 0 : 1;
}

int Run(HINSTANCE instance) {
  const bool embedding = HasEmbeddingSwitch();
  if (!embedding) {
    if (standin::CurrentRegistration() == standin::RegisteredHost::InProcess) {
      try {
        standin::RecordLaunch(standin::ResolveStorePath(), ArgumentsOnly());
        return 0;
      } catch (const quorvel::Error& error) {
        PrintError(error.record().description);
        return 1;
      }
    }
    if (HWND running = FindWindowW(kMainClass, nullptr)) {
      PostMessageW(running, kOpenExplorer, 0, 0);
      return 0;
    }
  }
  return Serve(instance, embedding);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const int result = Run(instance);
  CoUninitialize();
  return result;
}

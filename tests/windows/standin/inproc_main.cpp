// The in-process tests: the stand-in DLL beside this program is registered as
// "Outlook.Application" in the test prefix before any test runs.
//   --save-and-die STORE K   (a child of the crash test) saves K items, then kills itself.

#include <gtest/gtest.h>

#include <cwchar>

#include "dispatch_calls.h"
#include "registry/standin_registry.h"
#include "test_support.h"

namespace {

using standin_test::ComPtr;

int SaveAndDie(const std::wstring& store, long count) {
  standin_test::UseStore(store);
  ComPtr<IDispatch> application;
  if (FAILED(standin_test::CreateOutlook(application))) return 3;
  auto items =
      standin_test::GetObject(standin_test::OpenCalendar(application.Get()).Get(), L"Items");
  for (long i = 1; i <= count; ++i) {
    auto item = standin_test::GetObject(items.Get(), L"Item", {standin_test::Long(i)});
    standin_test::PutText(item.Get(), L"Subject", L"saved before the crash " + std::to_wstring(i));
    standin_test::CallMethod(item.Get(), L"Save");
  }
  // No release, no checkpoint: only the journal can bring these saves back.
  TerminateProcess(GetCurrentProcess(), 7);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const HRESULT registered =
      standin::RegisterInproc(standin_test::BesideThisProgram(L"standin_outlook.dll"));
  if (FAILED(registered)) {
    std::fwprintf(stderr, L"cannot register the stand-in: 0x%08lX\n", registered);
    return 1;
  }
  int result = 0;
  try {
    if (argc == 4 && std::wcscmp(argv[1], L"--save-and-die") == 0) {
      result = SaveAndDie(argv[2], std::wcstol(argv[3], nullptr, 10));
    } else {
      testing::InitGoogleTest(&argc, argv);
      result = RUN_ALL_TESTS();
    }
  } catch (const quorvel::Error& error) {
    std::fwprintf(stderr, L"failed: 0x%08X %ls\n", error.number(),
                  error.record().description.c_str());
    result = 1;
  }
  CoUninitialize();
  return result;
}

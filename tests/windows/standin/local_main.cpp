// The out-of-process tests: Outlook.exe beside this program is registered as the local server
// of "Outlook.Application" in this test's own prefix, with the store named in the registry
// (a server COM starts does not see this process's environment).

#include <gtest/gtest.h>

#include <cstdio>

#include "dispatch_calls.h"
#include "registry/standin_registry.h"
#include "test_support.h"

int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  SetEnvironmentVariableW(L"QUORVEL_STANDIN_STORE", nullptr);
  const HRESULT registered =
      standin::RegisterLocal(standin_test::BesideThisProgram(L"Outlook.exe"));
  if (FAILED(registered)) {
    std::fwprintf(stderr, L"cannot register the stand-in: 0x%08lX\n", registered);
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}

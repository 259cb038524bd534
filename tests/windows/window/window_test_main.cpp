// Runs the window tests against the QuorvelImport.exe named on the command line.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_under_test.h"

namespace quorvel::window_tests {

namespace {
std::wstring program_path;
}

const std::wstring& ProgramPath() {
  return program_path;
}

}  // namespace quorvel::window_tests

int wmain(int argc, wchar_t** argv) {
  // Pixels as the program sees them: without this a scaled desktop would virtualise them.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  int gtest_argc = 0;
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) {
    std::wstring argument = argv[i];
    if (i > 0 && argument.rfind(L"--", 0) != 0) {
      quorvel::window_tests::program_path = argument;
      continue;
    }
    arguments.emplace_back(argument.begin(), argument.end());
  }
  std::vector<char*> pointers;
  for (auto& a : arguments) pointers.push_back(a.data());
  gtest_argc = static_cast<int>(pointers.size());
  testing::InitGoogleTest(&gtest_argc, pointers.data());
  if (quorvel::window_tests::program_path.empty()) {
    fprintf(stderr, "usage: window_tests PATH-OF-QuorvelImport.exe [gtest options]\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}

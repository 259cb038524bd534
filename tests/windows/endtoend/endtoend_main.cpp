#include <gtest/gtest.h>

#include <string>

namespace quorvel::endtoend {
std::wstring program_path;
}

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) return 2;
  quorvel::endtoend::program_path = argv[1];
  return RUN_ALL_TESTS();
}

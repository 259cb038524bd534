// The port against the stand-in Outlook, hosted as QUORVEL_COM_TEST_HOST says ("inproc" or
// "local"), registered into this test's own Wine prefix.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/com/apartment.h"
#include "common/error.h"
#include "standin_port_test.h"

namespace quorvel::testing {
Host TestHost() {
  const char* host = std::getenv("QUORVEL_COM_TEST_HOST");
  return host && std::strcmp(host, "local") == 0 ? Host::kLocalServer : Host::kInProcess;
}
}  // namespace quorvel::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  quorvel::testing::RegisterStandin(quorvel::testing::TestHost());
  quorvel::com::Apartment apartment;
  try {
    return RUN_ALL_TESTS();
  } catch (const quorvel::Error& error) {
    std::fprintf(stderr, "escaped: %d %ls\n", error.number(), error.record().description.c_str());
    return 1;
  }
}

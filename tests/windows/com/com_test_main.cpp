// Every test runs inside the program's own apartment, with its message filter.
#include <gtest/gtest.h>

#include "common/com/apartment.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  quorvel::com::Apartment apartment;
  return RUN_ALL_TESTS();
}

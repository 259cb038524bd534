#pragma once

#include "harness/standin_harness.h"

namespace quorvel::testing {

Host TestHost();

}  // namespace quorvel::testing

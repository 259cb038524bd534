#pragma once
// The continue rule: a step that fails is abandoned where it failed, nothing is reported,
// and the procedure goes on with its next step. Each guarded step is one call, so the step
// lists read in the code as they are numbered.

#include <exception>
#include <optional>

#include "common/error.h"

namespace quorvel {

// Runs one step; true when it completed, false when it failed and was dropped.
template <class Step>
bool Continue(Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (...) {
    return false;
  }
}

// As Continue, but keeps the failure so the caller may account for it.
template <class Step>
std::optional<ErrorRecord> ContinueKeepingError(Step&& step) noexcept {
  try {
    step();
    return std::nullopt;
  } catch (...) {
    return CurrentErrorOf(std::current_exception());
  }
}

}  // namespace quorvel

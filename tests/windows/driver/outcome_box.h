#pragma once
// The outcome box's text made from its sections in the program's own wording, so that a test
// states what the user must be told without copying the program's sentences.

#include <string>
#include <utility>
#include <vector>

#include "common/error.h"
#include "touch/touch_texts.h"

namespace quorvel::test_driver {

// Each section: the headline of one kind of undone work, and the first error of that kind.
inline std::wstring OutcomeText(const std::vector<std::pair<std::wstring, ErrorRecord>>& sections) {
  std::wstring text = touch::kOutcomeHeadline;
  for (const auto& [what, error] : sections) {
    text += L"\n\n" + what + L"\n" + touch::ErrorLines(error);
  }
  return text;
}

}  // namespace quorvel::test_driver

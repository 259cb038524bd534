#pragma once
// The campaign's own model of what one import run must do to a calendar: which saves, in
// which order and with which subjects; what the count shows; which failures the user is told.
// Written from the rules of the run, not from the program's code, so the two can disagree.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/date_time.h"
#include "common/error.h"
#include "harness/standin_harness.h"

namespace quorvel::campaign {

struct SavedSubject {
  std::string id;
  std::wstring subject;
  bool operator==(const SavedSubject&) const = default;
};

struct ExpectedRun {
  std::vector<SavedSubject> saves;  // in journal order
  std::int32_t count = 0;           // what the run counts: examined, not touched
  std::int32_t failed_hand_overs = 0;
  std::optional<ErrorRecord> last_failure;
};

struct OracleInput {
  const std::vector<testing::StandinItem>& items;  // in the calendar's own order
  DateTime range_start;                            // only the dates count
  DateTime range_end;
  std::array<bool, 4> boxes;  // by busy status 0..3
};

ExpectedRun PredictRun(const OracleInput& input);

// The bounds the range filter asks for: from the first day's midnight (inclusive) to the last
// day's 23:59 (exclusive), to the minute.
bool InRange(const DateTime& start, const DateTime& range_start, const DateTime& range_end);

// The warning the run shows when some hand-over failed.
std::wstring HandOverWarningText(std::int32_t failed, const ErrorRecord& last);

}  // namespace quorvel::campaign

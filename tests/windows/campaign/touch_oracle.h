#pragma once
// The campaign's own model of what one import run must do to a calendar: which saves, in
// which order and with which subjects; what the count shows; what the run must own up to
// having left undone. Written from the rules of the run, not from the program's code, so the
// two can disagree; only the account's wording is the program's own.

#include <array>
#include <cstdint>
#include <map>
#include <set>
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

// The kinds of undone work the outcome box tells apart, one section each.
enum class Undone {
  kNotSaved,
  kSubjectNotChanged,
  kRecurringPassCutShort,
  kRangePassCutShort,
  kRangeNotFound,
  kRangeNotCounted,
  kRangeNotSorted,
  kUnexaminable,
};
std::string NameOf(Undone kind);

struct ExpectedRun {
  std::vector<SavedSubject> saves;  // in journal order
  std::int32_t count = 0;           // what the run counts: examined, not touched
  std::wstring outcome;             // the outcome box's text; empty when nothing was left undone
  // Each kind left undone, with the number of saves made before the run first accounted for it
  // (a touch's failure after that touch's save): a run cut short after more saves than that
  // must still name it.
  std::map<Undone, std::size_t> undone;
};

struct OracleInput {
  const std::vector<testing::StandinItem>& items;  // in the calendar's own order
  DateTime range_start;                            // only the dates count
  DateTime range_end;
  std::array<bool, 4> boxes;  // by busy status 0..3
  // The collections' own failures, as the store names them: "restrict", "count", "sort".
  const std::map<std::string, ErrorRecord>& collection_failures;
  testing::Host host = testing::Host::kInProcess;
};

ExpectedRun PredictRun(const OracleInput& input);

// The bounds the range filter asks for: from the first day's midnight (inclusive) to the last
// day's 23:59 (exclusive), to the minute.
bool InRange(const DateTime& start, const DateTime& range_start, const DateTime& range_end);

// One section of an outcome box: the kind it names, and its first error as the box shows it.
struct OutcomeSection {
  Undone kind;
  std::int64_t number = 0;   // of elements or appointments the headline counts
  std::wstring error_lines;  // number, description and source
};

// The sections of a box's text, each recognised by the program's own wording with counts up to
// `most`; false when the text is no outcome box or has a section of no known kind.
bool ReadOutcome(const std::wstring& text, std::int64_t most,
                 std::vector<OutcomeSection>& sections);

}  // namespace quorvel::campaign

#pragma once
// Outlook's Jet-style filter restricted to what a calendar client asks of it: terms on [Start]
// joined by "and", each a comparison with a quoted date in the user's format.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

enum class Comparison { Less, LessOrEqual, Equal, GreaterOrEqual, Greater };

struct StartCondition {
  Comparison comparison;
  std::int64_t minute;  // the bound, to the minute
};

class StartFilter {
 public:
  // The date text between the quotes to an automation date, in the user's locale.
  using DateReader = std::function<std::optional<double>(const std::wstring&)>;

  struct ParseError {
    std::wstring message;  // as Outlook words it: Cannot parse condition. Error at "...".
  };

  // Throws ParseError.
  static StartFilter Parse(std::wstring_view filter, const DateReader& readDate);

  bool Matches(std::int64_t startMinute) const;
  const std::vector<StartCondition>& conditions() const { return conditions_; }

 private:
  std::vector<StartCondition> conditions_;
};

}  // namespace standin

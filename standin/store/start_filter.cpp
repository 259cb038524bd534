#include "store/start_filter.h"

#include <cwctype>

#include "store/ole_date.h"

namespace standin {
namespace {

class Cursor {
 public:
  explicit Cursor(std::wstring_view text) : text_(text) {}

  void SkipBlanks() {
    while (at_ < text_.size() && std::iswspace(text_[at_])) ++at_;
  }
  bool AtEnd() const { return at_ >= text_.size(); }
  std::size_t position() const { return at_; }

  // Consumes `word` ignoring case.
  bool Take(std::wstring_view word) {
    if (text_.size() - at_ < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
      if (std::towlower(text_[at_ + i]) != std::towlower(word[i])) return false;
    at_ += word.size();
    return true;
  }

  std::optional<std::wstring> TakeQuoted() {
    if (AtEnd() || text_[at_] != L'\'') return std::nullopt;
    const std::size_t close = text_.find(L'\'', at_ + 1);
    if (close == std::wstring_view::npos) return std::nullopt;
    std::wstring inside(text_.substr(at_ + 1, close - at_ - 1));
    at_ = close + 1;
    return inside;
  }

  [[noreturn]] void Fail(std::size_t at) const {
    throw StartFilter::ParseError{L"Cannot parse condition. Error at \"" +
                                  std::wstring(text_.substr(at)) + L"\"."};
  }

 private:
  std::wstring_view text_;
  std::size_t at_ = 0;
};

std::optional<Comparison> TakeComparison(Cursor& c) {
  if (c.Take(L">=")) return Comparison::GreaterOrEqual;
  if (c.Take(L"<=")) return Comparison::LessOrEqual;
  if (c.Take(L">")) return Comparison::Greater;
  if (c.Take(L"<")) return Comparison::Less;
  if (c.Take(L"=")) return Comparison::Equal;
  return std::nullopt;
}

}  // namespace

StartFilter StartFilter::Parse(std::wstring_view filter, const DateReader& readDate) {
  StartFilter result;
  Cursor c(filter);
  for (;;) {
    c.SkipBlanks();
    const std::size_t termStart = c.position();
    if (!c.Take(L"[Start]")) c.Fail(termStart);
    c.SkipBlanks();
    const auto comparison = TakeComparison(c);
    if (!comparison) c.Fail(c.position());
    c.SkipBlanks();
    const std::size_t dateStart = c.position();
    const auto text = c.TakeQuoted();
    if (!text) c.Fail(dateStart);
    const auto date = readDate(*text);
    if (!date) c.Fail(dateStart);
    result.conditions_.push_back({*comparison, OleDateMinute(*date)});
    c.SkipBlanks();
    if (c.AtEnd()) break;
    const std::size_t joinStart = c.position();
    // "and" must stand as a word: "[Start]>'x'andy" is not a conjunction.
    if (!c.Take(L"and")) c.Fail(joinStart);
    const std::size_t after = c.position();
    c.SkipBlanks();
    if (c.position() == after) c.Fail(joinStart);
  }
  return result;
}

bool StartFilter::Matches(std::int64_t startMinute) const {
  for (const StartCondition& condition : conditions_) {
    const std::int64_t bound = condition.minute;
    bool ok = false;
    switch (condition.comparison) {
      case Comparison::Less:
        ok = startMinute < bound;
        break;
      case Comparison::LessOrEqual:
        ok = startMinute <= bound;
        break;
      case Comparison::Equal:
        ok = startMinute == bound;
        break;
      case Comparison::GreaterOrEqual:
        ok = startMinute >= bound;
        break;
      case Comparison::Greater:
        ok = startMinute > bound;
        break;
    }
    if (!ok) return false;
  }
  return true;
}

}  // namespace standin

#pragma once
// The one failure type of the program: it carries the "current error" an automation
// client would see (number, description, source), whatever raised it.

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

namespace quorvel {

inline constexpr wchar_t kApplicationTitle[] = L"QuorvelImport";

struct ErrorRecord {
  std::int32_t number = 0;  // 0 means no error
  std::wstring description;
  std::wstring source;

  bool operator==(const ErrorRecord&) const = default;
};

class Error : public std::exception {
 public:
  explicit Error(ErrorRecord record) : record_(std::move(record)) {}
  Error(std::int32_t number, std::wstring description, std::wstring source = kApplicationTitle)
      : record_{number, std::move(description), std::move(source)} {}

  const ErrorRecord& record() const noexcept { return record_; }
  std::int32_t number() const noexcept { return record_.number; }
  const char* what() const noexcept override { return "quorvel::Error"; }

 private:
  ErrorRecord record_;
};

// The errors the program raises itself, with the numbers an automation client gives them.
Error ObjectNotSet();  // 91
Error TypeMismatch();  // 13
Error Overflow();      // 6

// A missing object where an operation needs one is a failure of that operation.
template <class T>
T& Need(const std::shared_ptr<T>& object) {
  if (!object) throw ObjectNotSet();
  return *object;
}

// Any exception that reaches a boundary, as the current error it stands for.
ErrorRecord CurrentErrorOf(std::exception_ptr failure);

}  // namespace quorvel

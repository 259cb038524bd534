#pragma once
// A ProgID taken out of this Wine prefix's machine classes for one test and put back after,
// so that creating the object fails as it does where the component is not installed.

#include <windows.h>

#include <string>

namespace quorvel::endtoend {

class HiddenProgId {
 public:
  explicit HiddenProgId(std::wstring prog_id);
  ~HiddenProgId();
  HiddenProgId(const HiddenProgId&) = delete;
  HiddenProgId& operator=(const HiddenProgId&) = delete;

  // False when the ProgID could not be moved aside (then nothing was changed).
  bool hidden() const { return hidden_; }

 private:
  std::wstring key_;
  std::wstring aside_;
  bool hidden_ = false;
};

}  // namespace quorvel::endtoend

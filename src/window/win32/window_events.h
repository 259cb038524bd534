#pragma once
// The three events of the window that reach the program's code.

namespace quorvel::win32 {

class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // Called from the window procedure (the load: before the window shows); must not throw.
  virtual void Loaded() noexcept = 0;
  virtual void ImportClicked() noexcept = 0;
  virtual void StartDateChanged() noexcept = 0;
};

}  // namespace quorvel::win32

#pragma once
// While alive, presses OK on any "Error" message box this process shows: Wine's shell shows
// one, modal, for a command it cannot find, and a test must not hang on it.

#include <windows.h>

#include <atomic>
#include <thread>

namespace quorvel::testing {

class StrayBoxCloser {
 public:
  StrayBoxCloser();
  ~StrayBoxCloser();
  StrayBoxCloser(const StrayBoxCloser&) = delete;
  StrayBoxCloser& operator=(const StrayBoxCloser&) = delete;

  int closed() const { return closed_.load(); }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> closed_{0};
  std::thread watcher_;
};

}  // namespace quorvel::testing

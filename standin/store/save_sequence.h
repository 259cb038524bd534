#pragma once
// Journal sequence numbers shared by every process that writes one store's journal (the host
// of the objects and a shell launch of the exe), through a small named shared-memory counter.

#include <cstdint>
#include <functional>
#include <string>

#include "store/unique_handle.h"

namespace standin {

class SaveSequence {
 public:
  // `atLeast` is what the files already hold; a counter that other processes advanced further
  // keeps its value. Throws quorvel::Error.
  SaveSequence(const std::wstring& storePath, std::int64_t atLeast);
  SaveSequence(const SaveSequence&) = delete;
  SaveSequence& operator=(const SaveSequence&) = delete;
  ~SaveSequence();

  std::int64_t Next();

 private:
  UniqueHandle mapping_;
  volatile long long* counter_ = nullptr;
};

}  // namespace standin

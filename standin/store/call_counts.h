#pragma once
// How often each member was served, for the round-trip figures of the benchmarks. A slot's
// address stays valid for the process's life, so callers look a name up once and keep it.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace standin {

class CallCounts {
 public:
  static CallCounts& Instance();

  std::uint64_t& Slot(std::string_view name);
  void Reset();
  std::string ToJson() const;  // {"Items.Count": n, ...}, names sorted, zero counts left out

 private:
  std::map<std::string, std::uint64_t, std::less<>> counts_;
};

// Counts one call of `name`; the slot is looked up once per call site.
#define STANDIN_COUNT(name)                                                             \
  do {                                                                                  \
    static std::uint64_t& standin_slot_ = ::standin::CallCounts::Instance().Slot(name); \
    ++standin_slot_;                                                                    \
  } while (0)

}  // namespace standin

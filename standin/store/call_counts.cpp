#include "store/call_counts.h"

#include <nlohmann/json.hpp>

namespace standin {

CallCounts& CallCounts::Instance() {
  static CallCounts counts;
  return counts;
}

std::uint64_t& CallCounts::Slot(std::string_view name) {
  auto found = counts_.find(name);
  if (found == counts_.end()) found = counts_.emplace(std::string(name), 0).first;
  return found->second;
}

void CallCounts::Reset() {
  for (auto& entry : counts_) entry.second = 0;
}

std::string CallCounts::ToJson() const {
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  for (const auto& [name, count] : counts_)
    if (count) out[name] = count;
  return out.dump(2) + "\n";
}

}  // namespace standin

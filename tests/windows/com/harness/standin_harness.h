#pragma once
// Puts the stand-in Outlook in place for a test or benchmark run: registers one host into
// this Wine prefix, writes a store for it, and reads back what it journalled and counted.

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/date_time.h"
#include "common/error.h"

namespace quorvel::testing {

enum class Host { kInProcess, kLocalServer };

struct StandinItem {
  std::string id;
  int item_class = 26;
  std::wstring subject;
  DateTime start;
  int busy = 2;
  int recurrence = 0;
  std::map<std::string, ErrorRecord> failures;  // member ("Save", "Subject.put", ...) -> error
};

struct StandinStore {
  bool explorer = true;
  int busy_after_save_ms = 0;
  int startup_busy_ms = 0;
  int open_item_limit = 0;  // 0: none; Exchange in online mode: 250
  int call_latency_ms = 0;  // every call served
  int save_latency_ms = 0;  // every Save, further
  std::optional<ErrorRecord> namespace_failure;
  std::map<std::string, ErrorRecord> failures;  // of every Items: "restrict", "count", "sort"
  std::vector<StandinItem> items;
};

struct JournalRecord {
  std::string id;  // empty for a launch record
  std::string subject;
};

// Throws std::runtime_error when the stand-in cannot be registered.
void RegisterStandin(Host host);

// Writes the store (ASCII subjects) under the temporary folder, removes any companion files of
// an earlier run, and points the stand-in at it. Returns its Windows path.
std::wstring WriteStore(const StandinStore& store, const std::wstring& name);
// The same for a store document made elsewhere (the calendar generator's JSON).
std::wstring WriteStoreDocument(const std::string& document, const std::wstring& name);

// Every record of the store's journal, checkpointed ones first, in order.
std::vector<JournalRecord> ReadJournal(const std::wstring& store);

// The stand-in's per-member counts written at its last checkpoint.
std::map<std::string, std::uint64_t> ReadCallCounts(const std::wstring& store);

// Waits until no stand-in Outlook.exe runs; false when one still runs after `timeout_ms`.
bool WaitForLocalServerExit(DWORD timeout_ms);

}  // namespace quorvel::testing

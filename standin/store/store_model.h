#pragma once
// The calendar as the stand-in holds it in memory: the parsed store document plus fast
// fields per item. The document is kept whole so that fields this code does not know survive
// a checkpoint untouched.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/error.h"

namespace standin {

inline constexpr int kClassAppointment = 26;
inline constexpr int kClassMeetingRequest = 53;

// Members whose failure a store can inject per item.
enum class ItemMember {
  RecurrenceState,
  BusyStatus,
  Subject,
  SubjectPut,
  Save,
  Start,
  Class,
  Fetch,  // handing the item out of an enumerator
  Count
};

struct ItemFaults {
  std::array<std::optional<quorvel::ErrorRecord>, static_cast<std::size_t>(ItemMember::Count)> by;
  const std::optional<quorvel::ErrorRecord>& For(ItemMember m) const {
    return by[static_cast<std::size_t>(m)];
  }
};

struct StoredItem {
  std::string id;
  int itemClass = kClassAppointment;
  std::wstring subject;
  double start = 0;  // automation date
  std::int64_t startMinute = 0;
  int busy = 2;
  int recurrence = 0;
  std::shared_ptr<const ItemFaults> faults;  // null for the usual item without faults
  bool changed = false;                      // subject differs from the document's
};

struct StoreFaults {
  std::optional<quorvel::ErrorRecord> nameSpace;
  std::optional<quorvel::ErrorRecord> defaultFolder;
  // Every Items collection's Restrict, Count and Sort, the folder's own included: the program
  // counts and sorts only what Restrict gave, so one switch per member is enough.
  std::optional<quorvel::ErrorRecord> restrict;
  std::optional<quorvel::ErrorRecord> count;
  std::optional<quorvel::ErrorRecord> sort;
  int busyAfterSaveMs = 0;
  int startupBusyMs = 0;  // out of process: calls and activation refused while Outlook starts
  int openItemLimit = 0;  // items open at once before the next open fails (online mode: 250)
  std::string busyReply;  // "rejected" or "retrylater" to choose the refusal; empty: the host's
};

// Outlook's own pace, for the benchmarks: a delay for every call served and a further one
// for every Save.
struct Latency {
  int callMs = 0;
  int saveMs = 0;
};

// A store that cannot be read as a calendar; `what` names the problem, not the file.
struct StoreFormatError {
  std::string what;
};

class StoreModel {
 public:
  // Throws StoreFormatError.
  static StoreModel Parse(std::string_view utf8Json);

  const std::wstring& mailbox() const { return mailbox_; }
  const std::wstring& calendarName() const { return calendarName_; }
  bool explorer() const { return explorer_; }
  const StoreFaults& faults() const { return faults_; }
  const Latency& latency() const { return latency_; }

  std::vector<StoredItem>& items() { return items_; }
  const std::vector<StoredItem>& items() const { return items_; }
  std::optional<std::size_t> IndexOf(const std::string& id) const;

  // The highest save sequence number that has reached the document.
  std::int64_t lastSequence() const { return lastSequence_; }

  // Applies one journal line; returns its sequence number, or nothing for lines that are not
  // saves (launch records). Throws StoreFormatError for a line that is not a journal record.
  std::optional<std::int64_t> ApplyJournalLine(std::string_view line);
  void NoteSequence(std::int64_t seq) {
    if (seq > lastSequence_) lastSequence_ = seq;
  }

  // The document with every changed subject written back.
  std::string Serialize();

 private:
  nlohmann::json document_;
  std::wstring mailbox_;
  std::wstring calendarName_;
  bool explorer_ = true;
  StoreFaults faults_;
  Latency latency_;
  std::vector<StoredItem> items_;
  std::unordered_map<std::string, std::size_t> byId_;
  std::int64_t lastSequence_ = 0;
};

// One journal record of a save, as a line without its line feed.
std::string JournalSaveLine(std::int64_t seq, std::string_view id, std::wstring_view subject,
                            std::string_view time);
std::string JournalLaunchLine(std::int64_t seq, std::wstring_view arguments, std::string_view time);

}  // namespace standin

#pragma once
// An in-memory Outlook for the core's tests: a calendar of appointments (and other elements),
// a log of every call in order, and failure injection for any single operation.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "outlook/automation.h"

namespace quorvel::fakes {

// Every operation is logged under a key; the same key makes it fail. Per-item operations are
// keyed "<id>.<member>", e.g. "A1.Save" or "A1.Subject=" for the subject write.
class CallLog {
 public:
  std::vector<std::wstring> calls;
  std::map<std::wstring, ErrorRecord> failing;
  std::function<void(const std::wstring&)> on_call;  // lets a test act in the middle of a run

  void Fail(const std::wstring& key,
            ErrorRecord error = {-2147467260, L"Operation aborted", L"Microsoft Outlook"}) {
    failing[key] = std::move(error);
  }
  // Records the call and throws when it was set to fail.
  void Enter(const std::wstring& key);
  int CountOf(const std::wstring& key) const;
};

struct FakeElement {
  std::wstring id;
  bool is_appointment = true;
  std::optional<ErrorRecord> kind_error;  // its kind cannot be read
  std::int32_t recurrence = outlook::kNotRecurring;
  std::int32_t busy = outlook::kBusy;
  std::wstring subject;
  DateTime start{2026, 12, 8, 9, 30, 0};
  bool in_range = false;                     // whether the range filter lets it through
  std::vector<std::wstring> saved_subjects;  // one entry per successful Save
};

class FakeOutlook {
 public:
  explicit FakeOutlook(CallLog& log) : log(log) {}

  CallLog& log;
  std::vector<std::shared_ptr<FakeElement>> calendar;
  std::wstring parent_text = L"Mailbox - Anna de Vries";
  std::wstring shown_folder_name = L"Inbox";
  bool registered = true;        // "Outlook.Application" can be created
  bool namespace_exists = true;  // GetNamespace gives an object
  bool explorer_exists = true;   // ActiveExplorer gives an object
  bool calendar_exists = true;   // GetDefaultFolder gives an object
  bool items_exist = true;       // a folder's "Items" gives an object
  std::vector<std::wstring> shell_runs;
  std::vector<std::wstring> restrict_filters;
  std::vector<std::int32_t> default_folder_requests;

  FakeElement& Add(std::wstring id, std::int32_t recurrence = outlook::kNotRecurring,
                   std::int32_t busy = outlook::kBusy, bool in_range = false);
  FakeElement& AddMeetingRequest(std::wstring id, bool in_range = false);
  FakeElement& Find(const std::wstring& id);

  outlook::ObjectFactory& factory();

 private:
  std::unique_ptr<outlook::ObjectFactory> factory_;
};

}  // namespace quorvel::fakes

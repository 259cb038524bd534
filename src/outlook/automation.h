#pragma once
// The Outlook operations the program uses, and nothing more. Every object is a
// reference-counted handle; an operation that fails throws quorvel::Error with the number,
// description and source the component reported. An operation that yields "no object"
// returns an empty handle.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/date_time.h"
#include "common/error.h"

namespace quorvel::outlook {

inline constexpr std::int32_t kFolderCalendar = 9;  // olFolderCalendar

enum RecurrenceState : std::int32_t {
  kNotRecurring = 0,
  kSeriesMaster = 1,
  kOccurrence = 2,
  kException = 3,
};

enum BusyStatus : std::int32_t {
  kFree = 0,
  kTentative = 1,
  kBusy = 2,
  kOutOfOffice = 3,
};

class AppointmentItem {
 public:
  virtual ~AppointmentItem() = default;
  virtual std::int32_t RecurrenceState() = 0;
  virtual std::int32_t BusyStatus() = 0;
  virtual std::wstring Subject() = 0;
  virtual void SetSubject(const std::wstring& subject) = 0;
  virtual DateTime Start() = 0;
  virtual void Save() = 0;
  // Outlook's identity of the stored item; read only when a failure has to be told apart.
  virtual std::wstring EntryID() = 0;
};

// What one step of an enumeration met. kUnexaminable: an element whose kind could not be read.
// A failure to fetch the next element is thrown, so it is never mistaken for the end.
enum class Advance { kAppointment, kNotAnAppointment, kUnexaminable, kEnd };

// An element whose kind could not be read: why, and its entry id where that could be read, so
// that one met by both passes is told once.
struct Unexamined {
  ErrorRecord why;
  std::optional<std::wstring> entry_id;
};

// One pass over a collection, one element at a time, in the collection's current order.
class ItemsEnumeration {
 public:
  virtual ~ItemsEnumeration() = default;
  // On kAppointment, `current` holds the element; otherwise it holds none, so an element the
  // steps are done with is never kept open. On kUnexaminable, `unexamined` tells of it.
  virtual Advance Next(std::shared_ptr<AppointmentItem>& current, Unexamined& unexamined) = 0;
};

class Items {
 public:
  virtual ~Items() = default;
  virtual std::unique_ptr<ItemsEnumeration> Enumerate() = 0;
  virtual std::shared_ptr<Items> Restrict(const std::wstring& filter) = 0;
  virtual std::int32_t Count() = 0;
  // Ascending by the property; the direction argument is left out.
  virtual void Sort(const std::wstring& property) = 0;
};

class Folder {
 public:
  virtual ~Folder() = default;
  virtual std::wstring Name() = 0;                      // member "Name", by name
  virtual std::wstring ParentAsText() = 0;              // member "Parent", by name, read as text
  virtual std::shared_ptr<outlook::Items> Items() = 0;  // member "Items", by name
};

class Explorer {
 public:
  virtual ~Explorer() = default;
  virtual std::shared_ptr<Folder> CurrentFolder() = 0;
};

class Namespace {
 public:
  virtual ~Namespace() = default;
  virtual std::shared_ptr<Folder> GetDefaultFolder(std::int32_t folder_type) = 0;
};

class Application {
 public:
  virtual ~Application() = default;
  virtual std::shared_ptr<outlook::Namespace> GetNamespace(const std::wstring& type) = 0;
  virtual std::shared_ptr<outlook::Explorer> ActiveExplorer() = 0;
};

// "WScript.Shell": only its member "Run" with a single argument is used.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual void Run(const std::wstring& command) = 0;
};

// Object creation by ProgID.
class ObjectFactory {
 public:
  virtual ~ObjectFactory() = default;
  virtual std::shared_ptr<outlook::Application> CreateApplication(const std::wstring& prog_id) = 0;
  virtual std::shared_ptr<outlook::Shell> CreateShell(const std::wstring& prog_id) = 0;
};

}  // namespace quorvel::outlook

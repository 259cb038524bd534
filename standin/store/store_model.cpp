#include "store/store_model.h"

#include "store/ole_date.h"
#include "store/text_encoding.h"

namespace standin {
namespace {

using nlohmann::json;

[[noreturn]] void Bad(std::string what) {
  throw StoreFormatError{std::move(what)};
}

std::optional<quorvel::ErrorRecord> ReadError(const json& owner, const char* key,
                                              const std::string& where) {
  const auto found = owner.find(key);
  if (found == owner.end() || found->is_null()) return std::nullopt;
  if (!found->is_object() || !found->contains("number") || !(*found)["number"].is_number_integer())
    Bad(where + "." + key + " needs an integer \"number\"");
  quorvel::ErrorRecord record;
  record.number = static_cast<std::int32_t>((*found)["number"].get<std::int64_t>());
  record.description = Utf8ToWide(found->value("description", std::string()));
  record.source = Utf8ToWide(found->value("source", std::string("Microsoft Outlook")));
  return record;
}

std::string TextField(const json& owner, const char* key, const std::string& where,
                      const char* fallback) {
  const auto found = owner.find(key);
  if (found == owner.end()) {
    if (fallback) return fallback;
    Bad(where + " has no \"" + key + "\"");
  }
  if (!found->is_string()) Bad(where + "." + key + " is not a text");
  return found->get<std::string>();
}

int IntField(const json& owner, const char* key, const std::string& where, int fallback) {
  const auto found = owner.find(key);
  if (found == owner.end()) return fallback;
  if (!found->is_number_integer()) Bad(where + "." + key + " is not a whole number");
  return found->get<int>();
}

StoredItem ReadItem(const json& entry, std::size_t index) {
  const std::string where = "items[" + std::to_string(index) + "]";
  if (!entry.is_object()) Bad(where + " is not an object");
  StoredItem item;
  item.id = TextField(entry, "id", where, nullptr);
  item.itemClass = IntField(entry, "class", where, kClassAppointment);
  if (item.itemClass != kClassAppointment && item.itemClass != kClassMeetingRequest)
    Bad(where + ".class must be 26 or 53");
  item.subject = Utf8ToWide(TextField(entry, "subject", where, ""));
  const std::string start = TextField(entry, "start", where, nullptr);
  const auto civil = ParseIsoDateTime(start);
  if (!civil) Bad(where + ".start \"" + start + "\" is not YYYY-MM-DDTHH:MM:SS");
  item.start = ToOleDate(*civil);
  item.startMinute = OleDateMinute(item.start);
  item.busy = IntField(entry, "busy", where, 2);
  item.recurrence = IntField(entry, "recurrence", where, 0);
  if (const auto fail = entry.find("fail"); fail != entry.end()) {
    if (!fail->is_object()) Bad(where + ".fail is not an object");
    static constexpr const char* kNames[] = {"RecurrenceState", "BusyStatus", "Subject",
                                             "Subject.put",     "Save",       "Start",
                                             "Class",           "Fetch"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(ItemMember::Count));
    auto faults = std::make_shared<ItemFaults>();
    for (std::size_t m = 0; m < std::size(kNames); ++m)
      faults->by[m] = ReadError(*fail, kNames[m], where + ".fail");
    item.faults = std::move(faults);
  }
  return item;
}

std::string OneLine(json record) {
  return record.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

StoreModel StoreModel::Parse(std::string_view utf8Json) {
  StoreModel model;
  try {
    model.document_ = json::parse(utf8Json.begin(), utf8Json.end());
  } catch (const json::parse_error& e) {
    Bad(std::string("not valid JSON (") + e.what() + ")");
  }
  const json& doc = model.document_;
  if (!doc.is_object()) Bad("the top level is not an object");
  model.mailbox_ = Utf8ToWide(TextField(doc, "mailbox", "the store", nullptr));
  model.calendarName_ = Utf8ToWide(TextField(doc, "calendarName", "the store", "Calendar"));
  if (const auto e = doc.find("explorer"); e != doc.end()) {
    if (!e->is_boolean()) Bad("\"explorer\" is not true or false");
    model.explorer_ = e->get<bool>();
  }
  if (const auto f = doc.find("faults"); f != doc.end()) {
    if (!f->is_object()) Bad("\"faults\" is not an object");
    model.faults_.nameSpace = ReadError(*f, "namespace", "faults");
    model.faults_.defaultFolder = ReadError(*f, "defaultFolder", "faults");
    model.faults_.restrict = ReadError(*f, "restrict", "faults");
    model.faults_.count = ReadError(*f, "count", "faults");
    model.faults_.sort = ReadError(*f, "sort", "faults");
    model.faults_.busyAfterSaveMs = IntField(*f, "busyAfterSaveMs", "faults", 0);
    model.faults_.startupBusyMs = IntField(*f, "startupBusyMs", "faults", 0);
    model.faults_.openItemLimit = IntField(*f, "openItemLimit", "faults", 0);
    model.faults_.busyReply = TextField(*f, "busyReply", "faults", "");
  }
  if (const auto l = doc.find("latency"); l != doc.end()) {
    if (!l->is_object()) Bad("\"latency\" is not an object");
    model.latency_.callMs = IntField(*l, "callMs", "latency", 0);
    model.latency_.saveMs = IntField(*l, "saveMs", "latency", 0);
  }
  if (const auto s = doc.find("journalSequence"); s != doc.end() && s->is_number_integer())
    model.lastSequence_ = s->get<std::int64_t>();
  const auto items = doc.find("items");
  if (items == doc.end() || !items->is_array()) Bad("there is no \"items\" array");
  model.items_.reserve(items->size());
  for (std::size_t i = 0; i < items->size(); ++i) {
    StoredItem item = ReadItem((*items)[i], i);
    if (!model.byId_.emplace(item.id, i).second) Bad("the id \"" + item.id + "\" occurs twice");
    model.items_.push_back(std::move(item));
  }
  return model;
}

std::optional<std::size_t> StoreModel::IndexOf(const std::string& id) const {
  const auto found = byId_.find(id);
  if (found == byId_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::int64_t> StoreModel::ApplyJournalLine(std::string_view line) {
  json record;
  try {
    record = json::parse(line.begin(), line.end());
  } catch (const json::parse_error&) {
    Bad("a journal line is not JSON: " + std::string(line.substr(0, 80)));
  }
  if (!record.is_object() || !record.contains("seq") || !record["seq"].is_number_integer())
    Bad("a journal line has no \"seq\": " + std::string(line.substr(0, 80)));
  const std::int64_t seq = record["seq"].get<std::int64_t>();
  NoteSequence(seq);
  if (!record.contains("id")) return std::nullopt;  // not a save
  const auto index = IndexOf(record["id"].get<std::string>());
  if (!index) Bad("the journal saves an unknown id: " + record["id"].dump());
  StoredItem& item = items_[*index];
  item.subject = Utf8ToWide(record.value("subject", std::string()));
  item.changed = true;
  return seq;
}

std::string StoreModel::Serialize() {
  json& items = document_["items"];
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (!items_[i].changed) continue;
    items[i]["subject"] = WideToUtf8(items_[i].subject);
    items_[i].changed = false;
  }
  document_["journalSequence"] = lastSequence_;
  return document_.dump(1, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string JournalSaveLine(std::int64_t seq, std::string_view id, std::wstring_view subject,
                            std::string_view time) {
  return OneLine({{"seq", seq},
                  {"id", std::string(id)},
                  {"subject", WideToUtf8(subject)},
                  {"time", std::string(time)}});
}

std::string JournalLaunchLine(std::int64_t seq, std::wstring_view arguments,
                              std::string_view time) {
  return OneLine({{"seq", seq},
                  {"event", "launch"},
                  {"arguments", WideToUtf8(arguments)},
                  {"time", std::string(time)}});
}

}  // namespace standin

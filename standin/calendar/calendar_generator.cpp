#include "calendar/calendar_generator.h"

#include <cstdio>
#include <stdexcept>

#include <nlohmann/json.hpp>

namespace standin {
namespace {

// SplitMix64: tiny, and specified exactly, unlike the standard library's distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::uint64_t Below(std::uint64_t n) { return Next() % n; }
  double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }

 private:
  std::uint64_t state_;
};

const char* const kTopics[] = {
    "Team meeting", "Dentist",   "Lunch with Piet", "Project review", "Call supplier",
    "Budget 2027",  "Training",  "Sprint planning", "Customer visit", "Board meeting",
    "Gym",          "School run"};
const char* const kForeign[] = {
    "\xD0\x9F\xD0\xBB\xD0\xB0\xD0\xBD\xD1\x91\xD1\x80\xD0\xBA\xD0\xB0",  // Cyrillic
    "\xE4\xBC\x9A\xE8\xAD\xB0 \xE6\x9C\x88\xE4\xBE\x8B",                 // CJK
    "\xD8\xA7\xD8\xAC\xD8\xAA\xD9\x85\xD8\xA7\xD8\xB9 "
    "\xD8\xA7\xD9\x84\xD9\x81\xD8\xB1\xD9\x8A\xD9\x82"};  // Arabic
const char* const kEmoji[] = {"\xF0\x9F\x8E\x82", "\xF0\x9F\x9A\x80", "\xF0\x9F\x8D\x95"};

std::string Subject(Random& random, std::size_t serial) {
  const std::uint64_t kind = random.Below(100);
  const std::string topic = kTopics[random.Below(std::size(kTopics))];
  if (kind < 4) return "";
  if (kind < 8) {  // trailing blanks
    std::string text = topic;
    text.append(1 + random.Below(3), ' ');
    return text;
  }
  if (kind < 11) {
    std::string text = topic + " #" + std::to_string(serial) + ":";
    while (text.size() < 320) text += " " + std::string(kTopics[random.Below(std::size(kTopics))]);
    return text;
  }
  if (kind < 17)
    return std::string(kForeign[random.Below(std::size(kForeign))]) + " " + std::to_string(serial);
  if (kind < 20) return topic + " " + kEmoji[random.Below(std::size(kEmoji))];
  return topic + " " + std::to_string(serial);
}

int BusyStatus(Random& random) {
  const std::uint64_t roll = random.Below(100);
  if (roll < 15) return 0;
  if (roll < 30) return 1;
  if (roll < 82) return 2;
  if (roll < 97) return 3;
  return 4;  // working elsewhere: newer Outlook, no check box matches it
}

std::string Start(Random& random, double firstDay, int days) {
  const double day = firstDay + static_cast<double>(random.Below(static_cast<std::uint64_t>(days)));
  const std::uint64_t roll = random.Below(100);
  int minutes;
  if (roll < 3)
    minutes = 0;  // midnight: the lower bound of a day
  else if (roll < 6)
    minutes = 23 * 60 + 59;  // the last minute of a day
  else
    minutes = 7 * 60 + static_cast<int>(random.Below(52)) * 15;
  return FormatIsoDateTime(FromOleDate(day + minutes / 1440.0));
}

// A weekly series' changed occurrences, as the master holds them: moved by an hour, with a
// subject of their own. On average `perSeries` of them.
void AddExceptions(nlohmann::ordered_json& master, Random& random, double perSeries,
                   std::size_t serial) {
  const double whole = static_cast<double>(static_cast<std::size_t>(perSeries));
  const std::size_t count =
      static_cast<std::size_t>(whole) + (random.Unit() < perSeries - whole ? 1 : 0);
  if (count == 0) return;
  const double start = ToOleDate(*ParseIsoDateTime(master["start"].get<std::string>()));
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  std::uint64_t week = 0;
  for (std::size_t n = 0; n < count; ++n) {
    week += 1 + random.Below(4);
    nlohmann::ordered_json exception;
    exception["subject"] = Subject(random, serial) + " (moved)";
    exception["start"] = FormatIsoDateTime(FromOleDate(start + 7.0 * week + 1.0 / 24));
    exception["busy"] = BusyStatus(random);
    list.push_back(std::move(exception));
  }
  master["exceptions"] = std::move(list);
}

}  // namespace

std::string GenerateCalendar(const CalendarOptions& options) {
  if (options.days < 1) throw std::invalid_argument("days must be at least 1");
  if (options.recurringShare < 0 || options.recurringShare > 1 || options.exceptionShare < 0)
    throw std::invalid_argument("the recurring share lies in 0..1, the exception share above 0");
  if (options.exceptionShare > 0 && options.recurringShare == 0)
    throw std::invalid_argument("exceptions need series to belong to");
  Random random(options.seed);
  // A stream of its own, so the elements stay as they were whatever the exception share.
  Random exceptions(options.seed ^ 0x5DEECE66Dull);
  const double perSeries =
      options.recurringShare > 0 ? options.exceptionShare / options.recurringShare : 0;
  const double firstDay = ToOleDate(options.firstDay);
  const std::size_t total = options.appointments + options.meetingRequests;
  // Meeting requests at evenly spread positions, so every part of the calendar has some.
  const std::size_t every = options.meetingRequests ? total / options.meetingRequests : 0;

  nlohmann::ordered_json items = nlohmann::ordered_json::array();
  std::size_t meetingsLeft = options.meetingRequests;
  for (std::size_t i = 0; i < total; ++i) {
    char id[32];
    std::snprintf(id, sizeof id, "%06zu", i + 1);
    const bool meeting = meetingsLeft > 0 && (i % every == every / 2 || total - i == meetingsLeft);
    nlohmann::ordered_json item;
    item["id"] = id;
    item["class"] = meeting ? 53 : 26;
    item["subject"] = meeting ? "Invitation: " + Subject(random, i + 1) : Subject(random, i + 1);
    item["start"] = Start(random, firstDay, options.days);
    if (meeting) {
      --meetingsLeft;
    } else {
      item["busy"] = BusyStatus(random);
      const bool master = random.Unit() < options.recurringShare;
      item["recurrence"] = master ? 1 : 0;
      if (master) AddExceptions(item, exceptions, perSeries, i + 1);
    }
    items.push_back(std::move(item));
  }
  nlohmann::ordered_json store;
  store["mailbox"] = options.mailbox;
  store["calendarName"] = "Calendar";
  store["explorer"] = true;
  store["faults"] = nlohmann::ordered_json::object();
  store["items"] = std::move(items);
  return store.dump(1) + "\n";
}

}  // namespace standin

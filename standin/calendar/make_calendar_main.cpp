// make-calendar: writes a generated stand-in store.
//   make-calendar --out FILE [--size N] [--seed S] [--first YYYY-MM-DD] [--days D]
//                 [--recurring 0.1] [--exceptions 0.1] [--meetings N] [--mailbox TEXT]

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "calendar/calendar_generator.h"

namespace {

int Usage(const char* problem) {
  std::fprintf(stderr,
               "make-calendar: %s\nusage: make-calendar --out FILE [--size N] [--seed S] "
               "[--first YYYY-MM-DD] [--days D] [--recurring R] [--exceptions E] "
               "[--meetings N] [--locked N] [--mailbox TEXT]\n",
               problem);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  standin::CalendarOptions options;
  std::string out;
  try {
    for (int i = 1; i < argc; ++i) {
      const std::string flag = argv[i];
      if (i + 1 >= argc) return Usage(("no value after " + flag).c_str());
      const std::string value = argv[++i];
      if (flag == "--out")
        out = value;
      else if (flag == "--size")
        options.appointments = std::stoull(value);
      else if (flag == "--seed")
        options.seed = std::stoull(value);
      else if (flag == "--days")
        options.days = std::stoi(value);
      else if (flag == "--recurring")
        options.recurringShare = std::stod(value);
      else if (flag == "--exceptions")
        options.exceptionShare = std::stod(value);
      else if (flag == "--meetings")
        options.meetingRequests = std::stoull(value);
      else if (flag == "--locked")
        options.lockedAppointments = std::stoull(value);
      else if (flag == "--mailbox")
        options.mailbox = value;
      else if (flag == "--first") {
        const auto first = standin::ParseIsoDateTime(value + "T00:00:00");
        if (!first) return Usage("--first needs YYYY-MM-DD");
        options.firstDay = *first;
      } else {
        return Usage(("unknown option " + flag).c_str());
      }
    }
    if (out.empty()) return Usage("--out is required");
    const std::string store = standin::GenerateCalendar(options);
    std::FILE* file = std::fopen(out.c_str(), "wb");
    if (!file) return Usage(("cannot create " + out).c_str());
    const bool written = std::fwrite(store.data(), 1, store.size(), file) == store.size();
    if (std::fclose(file) != 0 || !written) return Usage(("cannot write " + out).c_str());
  } catch (const std::exception& e) {
    return Usage(e.what());
  }
  return 0;
}

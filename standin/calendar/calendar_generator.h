#pragma once
// Generated calendars for tests and benchmarks: the same options and seed always give the
// same store, byte for byte, on every platform.

#include <cstdint>
#include <string>

#include "store/ole_date.h"

namespace standin {

struct CalendarOptions {
  std::size_t appointments = 1000;
  std::uint64_t seed = 1;
  CivilTime firstDay{2026, 1, 1};
  int days = 365;
  double recurringShare = 0.1;  // series masters among the appointments
  // Exceptions, as a share of the appointments, kept inside their masters as a real calendar
  // keeps them: they are no elements of the folder's items.
  double exceptionShare = 0.1;
  std::size_t meetingRequests = 0;  // non-appointment elements spread through the calendar
  std::string mailbox = "Mailbox - Anna de Vries";
};

// The store document, UTF-8 JSON. Throws std::invalid_argument for options that make no sense.
std::string GenerateCalendar(const CalendarOptions& options);

}  // namespace standin

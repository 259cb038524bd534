#pragma once
// Drives one run of the real program as a user would: the stand-in put in place with the
// run's calendar, the program started, the pickers and boxes set, "Start import" clicked,
// every box read and answered (or the program killed mid-run), the window closed. Then the
// stand-in's journal and store are read; after a kill, only once the stand-in has restarted.

#include <string>

#include "observed_run.h"
#include "scenario.h"

namespace quorvel::campaign {

ObservedRun DriveRun(const std::wstring& program_path, const Scenario& run);

}  // namespace quorvel::campaign

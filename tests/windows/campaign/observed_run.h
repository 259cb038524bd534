#pragma once
// What a run left behind, as the driver saw it from outside the program and read it from the
// stand-in's files afterwards.

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "message_box.h"
#include "touch_oracle.h"

namespace quorvel::campaign {

struct ObservedRun {
  bool window_shown = false;
  std::wstring startup_box;                        // empty when the program started without one
  std::vector<test_driver::MessageBoxView> boxes;  // in the order they came, start to finish
  bool boxes_complete = false;                     // the closing box came within its bound
  bool killed = false;                             // the program, mid-run
  bool standin_killed = false;    // the out-of-process stand-in, under the running program
  bool standin_orphaned = false;  // it outlived its killed client and was ended
  bool alive_after_run = false;
  std::optional<DWORD> exit_code;  // nothing when the program did not end when closed
  std::wstring count_text;         // Text1 after the run
  std::wstring progress_text;      // voortgang after the run
  std::vector<SavedSubject> journal;
  std::optional<std::map<std::string, std::wstring>> store;  // nothing when unreadable
  std::vector<std::string> driver_problems;  // a bound that ran out, a control not found
};

}  // namespace quorvel::campaign

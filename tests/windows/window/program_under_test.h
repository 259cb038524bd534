#pragma once
// QuorvelImport.exe as the window tests meet it: started, its start-up box answered (no
// Outlook is registered in the tests' prefix), and its window shown.

#include <memory>
#include <optional>
#include <string>

#include "message_box.h"
#include "program.h"

namespace quorvel::window_tests {

// The path given on the test program's command line.
const std::wstring& ProgramPath();

struct StartedProgram {
  std::unique_ptr<test_driver::Program> program;
  test_driver::MessageBoxView startup_box;  // the box shown before the window, if any
  HWND window = nullptr;
};

// Starts the program (with a shortcut's show command, if given) and waits for its window; the
// window is null when it did not show.
StartedProgram StartProgram(std::optional<WORD> show_command = std::nullopt);

}  // namespace quorvel::window_tests

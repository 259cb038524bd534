#include "program_under_test.h"

#include "window/layout.h"

namespace quorvel::window_tests {

StartedProgram StartProgram(std::optional<WORD> show_command) {
  using namespace test_driver;
  StartedProgram started;
  started.program = std::make_unique<Program>(ProgramPath(), Environment{}, show_command);
  const std::wstring caption(layout::kWindowCaption);
  // Either the window shows at once or a box comes first (the connection's report).
  const bool settled = WaitFor(
      [&] {
        if (HWND box = WaitForMessageBox(started.program->process_id(), Duration{0})) {
          started.startup_box = ReadMessageBox(box);
          PressOk(box);
        }
        started.window = started.program->WaitForWindow(caption, true, Duration{0});
        return started.window != nullptr;
      },
      kDefaultTimeout);
  if (!settled) started.window = nullptr;
  return started;
}

}  // namespace quorvel::window_tests

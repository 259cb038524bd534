#pragma once
// The program under test, started as a separate process as a user would start it. The
// process is killed when this object goes, unless it has already ended.

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "wait.h"

namespace quorvel::test_driver {

using Environment = std::vector<std::pair<std::wstring, std::wstring>>;

// A path as the build wrote it ("/work/..." when cross-built) as Windows opens it.
std::wstring WindowsPath(const std::wstring& path);

class Program {
 public:
  // Starts `executable` with the driver's environment plus `extra` (which wins) and the command
  // line's `arguments`. A show command (SW_SHOWMAXIMIZED, ...) is passed as a shortcut set to
  // start the program that way passes it. It starts in `folder` as its current one, the
  // driver's own when empty.
  Program(const std::wstring& executable, const Environment& extra = {},
          std::optional<WORD> show_command = std::nullopt, const std::wstring& arguments = {},
          const std::wstring& folder = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  DWORD process_id() const { return process_id_; }
  HANDLE process() const { return process_; }

  // A top-level window of the process with this caption; only shown ones when `visible`.
  HWND WaitForWindow(const std::wstring& caption, bool visible = true,
                     Duration timeout = kDefaultTimeout) const;
  // The exit code once the process has ended, nothing on timeout.
  std::optional<DWORD> WaitForExit(Duration timeout = kDefaultTimeout) const;
  bool Running() const;
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD process_id_ = 0;
};

// Every top-level window of the process, shown or not.
std::vector<HWND> TopLevelWindows(DWORD process_id);

}  // namespace quorvel::test_driver

#include "program.h"

#include <map>
#include <stdexcept>

namespace quorvel::test_driver {

namespace {

std::wstring CaptionOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

// The driver's own environment with `extra` laid over it, as a sorted block.
std::wstring EnvironmentBlock(const Environment& extra) {
  std::map<std::wstring, std::wstring> variables;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
      const std::wstring line(entry);
      const auto equals = line.find(L'=', 1);  // "=C:=C:\..." entries start with '='
      if (equals != std::wstring::npos) variables[line.substr(0, equals)] = line.substr(equals + 1);
    }
    FreeEnvironmentStringsW(block);
  }
  for (const auto& [name, value] : extra) variables[name] = value;
  std::wstring result;
  for (const auto& [name, value] : variables) result += name + L"=" + value + L'\0';
  result += L'\0';
  return result;
}

}  // namespace

std::wstring WindowsPath(const std::wstring& path) {
  if (path.empty() || path[0] != L'/') return path;
  std::wstring converted = L"Z:" + path;
  for (wchar_t& c : converted) {
    if (c == L'/') c = L'\\';
  }
  return converted;
}

Program::Program(const std::wstring& executable, const Environment& extra,
                 std::optional<WORD> show_command, const std::wstring& arguments,
                 const std::wstring& folder) {
  const std::wstring path = WindowsPath(executable);
  std::wstring command_line = L"\"" + path + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  std::wstring environment = EnvironmentBlock(extra);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (show_command) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = *show_command;
  }
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(path.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                      CREATE_UNICODE_ENVIRONMENT, environment.data(),
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    throw std::runtime_error("CreateProcess failed: " + std::to_string(GetLastError()));
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  process_id_ = info.dwProcessId;
  // The window comes after start-up work; waiting for idle keeps the first look-ups short.
  WaitForInputIdle(process_, 10000);
}

Program::~Program() {
  Kill();
  if (process_) CloseHandle(process_);
}

bool Program::Running() const {
  return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void Program::Kill() {
  if (process_ && Running()) {
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 10000);
  }
}

std::optional<DWORD> Program::WaitForExit(Duration timeout) const {
  if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

std::vector<HWND> TopLevelWindows(DWORD process_id) {
  struct Search {
    DWORD process_id;
    std::vector<HWND> found;
  } search{process_id, {}};
  EnumWindows(
      [](HWND window, LPARAM l) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(l);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.process_id) s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Program::WaitForWindow(const std::wstring& caption, bool visible, Duration timeout) const {
  return WaitFor(
      [&]() -> HWND {
        for (HWND window : TopLevelWindows(process_id_)) {
          if ((!visible || IsWindowVisible(window)) && CaptionOf(window) == caption) return window;
        }
        return nullptr;
      },
      timeout);
}

}  // namespace quorvel::test_driver

// A program that does nothing but leave a trace that it ran: a folder beside itself named after
// it with ".ran" added. The start-up test plants it as Outlook.exe where it must never run.

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return 1;
  const std::wstring trace = std::wstring(path, length) + L".ran";
  return CreateDirectoryW(trace.c_str(), nullptr) ? 0 : 1;
}

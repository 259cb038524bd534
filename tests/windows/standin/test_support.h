#pragma once
// Scratch stores for the tests: a folder of their own, stores written from item lists, the
// companion files read back, and the registration of the host under test.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace standin_test {

class ScratchFolder {
 public:
  ScratchFolder();  // a new, empty folder under %TEMP%
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

struct TestItem {
  TestItem(std::string id_, std::string subject_, std::string start_ = "2026-12-08T09:30:00")
      : id(std::move(id_)), subject(std::move(subject_)), start(std::move(start_)) {}
  std::string id;
  std::string subject;
  std::string start = "2026-12-08T09:30:00";
  int itemClass = 26;
  int busy = 2;
  int recurrence = 0;
  nlohmann::json fail;  // null, or the "fail" object
};

nlohmann::json StoreDocument(const std::vector<TestItem>& items);

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::optional<std::string> ReadBytes(const std::wstring& path);  // nothing if missing

// Complete journal records of a file (journal or history), parsed.
std::vector<nlohmann::json> JournalRecords(const std::wstring& path);
// What the companion has seen: the checkpointed history, then the live journal.
std::vector<nlohmann::json> AllSaves(const std::wstring& store);

// The store the in-process host opens next (QUORVEL_STANDIN_STORE of this process).
void UseStore(const std::wstring& store);

std::wstring BesideThisProgram(const std::wstring& name);
std::string Narrow(const std::wstring& wide);

struct ProgramRun {
  std::optional<DWORD> exitCode;  // nothing: still running after the timeout (then killed)
  std::string errors;             // what it wrote to stderr
};
// Runs `program` with `arguments`, waiting at most `timeoutMs`.
ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs);

// Polls `condition` every 20 ms for at most `timeoutMs`.
template <class Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    MSG message;  // keep the apartment responsive while waiting
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(20);
  }
}

// Runs this program again with `arguments`; returns its exit code, or nothing on a timeout.
std::optional<DWORD> RunSelf(const std::wstring& arguments, DWORD timeoutMs);

}  // namespace standin_test

#include "test_support.h"

#include <stdexcept>

#include "store/store_files.h"
#include "store/store_session.h"
#include "store/text_encoding.h"

namespace standin_test {

ScratchFolder::ScratchFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  // Wine reuses process ids soon, so a left-over folder of an earlier run is skipped.
  static unsigned serial = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    path_ = std::wstring(temp) + L"standin-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++serial);
    if (CreateDirectoryW(path_.c_str(), nullptr)) return;
  }
  throw std::runtime_error("no scratch folder");
}

ScratchFolder::~ScratchFolder() {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW(File(found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path_.c_str());
}

nlohmann::json StoreDocument(const std::vector<TestItem>& items) {
  nlohmann::json list = nlohmann::json::array();
  for (const TestItem& item : items) {
    nlohmann::json entry = {{"id", item.id},           {"class", item.itemClass},
                            {"subject", item.subject}, {"start", item.start},
                            {"busy", item.busy},       {"recurrence", item.recurrence}};
    if (!item.fail.is_null()) entry["fail"] = item.fail;
    list.push_back(entry);
  }
  return {{"mailbox", "Mailbox - Anna de Vries"},
          {"calendarName", "Calendar"},
          {"explorer", true},
          {"items", list}};
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  standin::ReplaceFileAtomically(path, bytes);
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  std::wstring problem;
  return standin::ReadWholeFile(path, problem);
}

std::vector<nlohmann::json> JournalRecords(const std::wstring& path) {
  std::vector<nlohmann::json> records;
  const auto text = ReadBytes(path);
  if (!text) return records;
  std::size_t begin = 0;
  for (std::size_t feed; (feed = text->find('\n', begin)) != std::string::npos; begin = feed + 1)
    if (feed > begin) records.push_back(nlohmann::json::parse(text->substr(begin, feed - begin)));
  return records;
}

std::vector<nlohmann::json> AllSaves(const std::wstring& store) {
  std::vector<nlohmann::json> saves = JournalRecords(standin::HistoryPathOf(store));
  for (auto& record : JournalRecords(standin::JournalPathOf(store))) saves.push_back(record);
  return saves;
}

void UseStore(const std::wstring& store) {
  SetEnvironmentVariableW(L"QUORVEL_STANDIN_STORE", store.c_str());
}

std::wstring BesideThisProgram(const std::wstring& name) {
  wchar_t path[MAX_PATH];
  std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}

std::string Narrow(const std::wstring& wide) {
  return standin::WideToUtf8(wide);
}

std::optional<DWORD> RunSelf(const std::wstring& arguments, DWORD timeoutMs) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return std::nullopt;
  standin::UniqueHandle processHandle(process.hProcess), thread(process.hThread);
  if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 99);
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

}  // namespace standin_test

namespace standin_test {

ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ProgramRun run;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  standin::UniqueHandle reader(readEnd), writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = writeEnd;
  std::wstring command = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process))
    return run;
  standin::UniqueHandle processHandle(process.hProcess), thread(process.hThread);
  writer.Reset();
  if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 5000);
  } else {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.exitCode = code;
  }
  char buffer[4096];
  DWORD got = 0;
  DWORD available = 0;
  while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available &&
         ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got)
    run.errors.append(buffer, got);
  return run;
}

}  // namespace standin_test

#include "standin_harness.h"

#include <tlhelp32.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "registry/standin_registry.h"

namespace quorvel::testing {

namespace {

// The build passes where the stand-in was built as a path of the Linux side; Wine shows the
// Linux root as drive Z:.
std::wstring StandinFolder() {
  std::wstring folder = L"Z:";
  for (const char c : std::string(QUORVEL_STANDIN_DIR)) folder += c == '/' ? L'\\' : wchar_t(c);
  return folder;
}

std::string Narrow(const std::wstring& text) {
  std::string result;
  for (const wchar_t c : text) result += c < 0x80 ? char(c) : '?';
  return result;
}

std::string Quoted(const std::string& text) {
  std::string result = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') result += '\\';
    result += c;
  }
  return result + "\"";
}

std::string ErrorJson(const ErrorRecord& error) {
  return "{\"number\":" + std::to_string(error.number) +
         ",\"description\":" + Quoted(Narrow(error.description)) +
         ",\"source\":" + Quoted(Narrow(error.source)) + "}";
}

std::string StartText(const DateTime& start) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", start.year, start.month,
                start.day, start.hour, start.minute, start.second);
  return buffer;
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

// The text value of "key" in one flat JSON record; empty when absent.
std::string TextField(const std::string& record, const std::string& key) {
  const std::string marker = "\"" + key + "\":";
  auto at = record.find(marker);
  if (at == std::string::npos) return {};
  at = record.find('"', at + marker.size());
  if (at == std::string::npos) return {};
  std::string value;
  for (auto i = at + 1; i < record.size() && record[i] != '"'; ++i) {
    if (record[i] == '\\' && i + 1 < record.size()) ++i;
    value += record[i];
  }
  return value;
}

void AppendRecords(const std::string& lines, std::vector<JournalRecord>& records) {
  std::istringstream stream(lines);
  std::string line;
  while (std::getline(stream, line)) {
    if (line.find("\"seq\"") == std::string::npos) continue;
    records.push_back({TextField(line, "id"), TextField(line, "subject")});
  }
}

struct Snapshot {
  HANDLE handle = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  Snapshot() = default;
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;
  ~Snapshot() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

}  // namespace

void RegisterStandin(Host host) {
  const std::wstring folder = StandinFolder();
  const HRESULT status = host == Host::kInProcess
                             ? standin::RegisterInproc(folder + L"\\standin_outlook.dll")
                             : standin::RegisterLocal(folder + L"\\Outlook.exe");
  if (FAILED(status)) throw std::runtime_error("the stand-in could not be registered");
}

std::wstring WriteStore(const StandinStore& store, const std::wstring& name) {
  std::ostringstream file;
  file << "{\"mailbox\":\"Mailbox - Test User\",\"calendarName\":\"Calendar\",\"explorer\":"
       << (store.explorer ? "true" : "false")
       << ",\"faults\":{\"busyAfterSaveMs\":" << store.busy_after_save_ms
       << ",\"startupBusyMs\":" << store.startup_busy_ms
       << ",\"openItemLimit\":" << store.open_item_limit;
  if (store.namespace_failure) file << ",\"namespace\":" << ErrorJson(*store.namespace_failure);
  for (const auto& [member, error] : store.failures)
    file << "," << Quoted(member) << ":" << ErrorJson(error);
  file << "},\"latency\":{\"callMs\":" << store.call_latency_ms
       << ",\"saveMs\":" << store.save_latency_ms << "},\"items\":[";
  for (std::size_t i = 0; i < store.items.size(); ++i) {
    const StandinItem& item = store.items[i];
    file << (i ? ",\n" : "\n") << "{\"id\":" << Quoted(item.id) << ",\"class\":" << item.item_class
         << ",\"subject\":" << Quoted(Narrow(item.subject)) << ",\"start\":\""
         << StartText(item.start) << "\",\"busy\":" << item.busy
         << ",\"recurrence\":" << item.recurrence;
    if (!item.failures.empty()) {
      file << ",\"fail\":{";
      bool first = true;
      for (const auto& [member, error] : item.failures) {
        file << (first ? "" : ",") << Quoted(member) << ":" << ErrorJson(error);
        first = false;
      }
      file << "}";
    }
    file << "}";
  }
  file << "]}\n";
  return WriteStoreDocument(file.str(), name);
}

std::wstring WriteStoreDocument(const std::string& document, const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + name + L".json";
  for (const wchar_t* suffix : {L".journal", L".history", L".calls.json", L".seq"}) {
    DeleteFileW((path + suffix).c_str());
  }
  std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
  file << document;
  file.close();
  if (!file) throw std::runtime_error("the store could not be written");

  SetEnvironmentVariableW(L"QUORVEL_STANDIN_STORE", path.c_str());
  standin::SetStorePath(path);
  return path;
}

std::vector<JournalRecord> ReadJournal(const std::wstring& store) {
  std::vector<JournalRecord> records;
  AppendRecords(ReadAll(store + L".history"), records);
  AppendRecords(ReadAll(store + L".journal"), records);
  return records;
}

std::map<std::string, std::uint64_t> ReadCallCounts(const std::wstring& store) {
  std::map<std::string, std::uint64_t> counts;
  const std::string text = ReadAll(store + L".calls.json");
  std::size_t at = 0;
  while ((at = text.find('"', at)) != std::string::npos) {
    const auto end = text.find('"', at + 1);
    const auto colon = text.find(':', end);
    if (end == std::string::npos || colon == std::string::npos) break;
    counts[text.substr(at + 1, end - at - 1)] =
        std::strtoull(text.c_str() + colon + 1, nullptr, 10);
    at = text.find_first_of(",}", colon);
  }
  return counts;
}

bool WaitForLocalServerExit(DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    bool running = false;
    const Snapshot snapshot;
    if (snapshot.handle != INVALID_HANDLE_VALUE) {
      PROCESSENTRY32W entry{};
      entry.dwSize = sizeof entry;
      for (BOOL more = Process32FirstW(snapshot.handle, &entry); more;
           more = Process32NextW(snapshot.handle, &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"Outlook.exe") == 0) running = true;
      }
    }
    if (!running) return true;
    if (GetTickCount64() > deadline) return false;
    Sleep(100);
  }
}

}  // namespace quorvel::testing

#include "standin_files.h"

#include <windows.h>
#include <tlhelp32.h>
#include <wrl/client.h>

#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "harness/standin_harness.h"
#include "store/text_encoding.h"
#include "store/unique_handle.h"

namespace quorvel::campaign {

namespace {

std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
  std::vector<DWORD> servers;
  const standin::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return servers;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, name) == 0) servers.push_back(entry.th32ProcessID);
  }
  return servers;
}

}  // namespace

std::vector<SavedSubject> JournalledSaves(const std::wstring& store_path) {
  std::vector<SavedSubject> saves;
  for (const auto& record : testing::ReadJournal(store_path)) {
    if (!record.id.empty()) saves.push_back({record.id, standin::Utf8ToWide(record.subject)});
  }
  return saves;
}

std::optional<std::map<std::string, std::wstring>> StoredSubjects(const std::wstring& store_path) {
  std::ifstream file(store_path.c_str(), std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  const nlohmann::json document = nlohmann::json::parse(text.str(), nullptr, false);
  if (document.is_discarded() || !document.contains("items")) return std::nullopt;
  std::map<std::string, std::wstring> subjects;
  for (const auto& item : document["items"]) {
    if (!item.is_object() || !item.contains("id")) return std::nullopt;
    subjects[item["id"].get<std::string>()] =
        standin::Utf8ToWide(item.value("subject", std::string()));
  }
  return subjects;
}

namespace {

// Wine's COM keeps the class registration of a server that was killed, in its rpcss, and
// hands it to every later activation, which then fails; a new rpcss, started by the next call
// that needs one, starts from a clean table. Only this prefix's own rpcss is ended.
void ForgetKilledServers() {
  for (const DWORD rpcss : ProcessesNamed(L"rpcss.exe")) {
    const standin::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, rpcss));
    if (process && TerminateProcess(process.get(), 0)) WaitForSingleObject(process.get(), 10000);
  }
}

}  // namespace

bool RestartStandin(bool local) {
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(L"Outlook.Application", &clsid))) return false;
  if (local) ForgetKilledServers();
  Microsoft::WRL::ComPtr<IDispatch> application;
  return SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(application.GetAddressOf())));
}

int TerminateStandinServers() {
  int ended = 0;
  for (const DWORD server : ProcessesNamed(L"Outlook.exe")) {
    const standin::UniqueHandle process(
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, server));
    if (process && TerminateProcess(process.get(), 255) &&
        WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0) {
      ++ended;
    }
  }
  return ended;
}

int CloseStandinExplorers() {
  const std::vector<DWORD> servers = ProcessesNamed(L"Outlook.exe");

  struct Search {
    const std::vector<DWORD>& servers;
    int closed = 0;
  } search{servers};
  EnumWindows(
      [](HWND window, LPARAM l) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(l);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        for (const DWORD server : s.servers) {
          if (owner == server && IsWindowVisible(window)) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            ++s.closed;
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.closed;
}

}  // namespace quorvel::campaign

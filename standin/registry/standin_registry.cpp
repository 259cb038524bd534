#include "registry/standin_registry.h"

#include "object/standin_identity.h"

namespace standin {
namespace {

const std::wstring kClassesRoot = L"Software\\Classes\\";
const std::wstring kClsidKey = kClassesRoot + L"CLSID\\" + kStandinClsidText;
const std::wstring kAppPathKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Outlook.exe";
constexpr wchar_t kStandinKey[] = L"Software\\QuorvelStandin";

class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

LSTATUS SetText(const std::wstring& keyPath, const wchar_t* name, const std::wstring& value) {
  RegistryKey key;
  LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0,
                                   KEY_SET_VALUE, nullptr, key.out(), nullptr);
  if (status != ERROR_SUCCESS) return status;
  return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool KeyExists(const std::wstring& keyPath) {
  RegistryKey key;
  return RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, key.out()) ==
         ERROR_SUCCESS;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

LSTATUS RegisterCommon(const std::wstring& outlookExe) {
  const std::wstring clsid = kStandinClsidText;
  const struct {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
  } entries[] = {
      {kClsidKey, nullptr, L"Quorvel stand-in Outlook application"},
      {kClsidKey + L"\\ProgID", nullptr, kVersionedProgId},
      {kClsidKey + L"\\VersionIndependentProgID", nullptr, kProgId},
      {kClassesRoot + kProgId, nullptr, L"Quorvel stand-in Outlook application"},
      {kClassesRoot + kProgId + L"\\CLSID", nullptr, clsid},
      {kClassesRoot + kProgId + L"\\CurVer", nullptr, kVersionedProgId},
      {kClassesRoot + kVersionedProgId, nullptr, L"Quorvel stand-in Outlook application"},
      {kClassesRoot + kVersionedProgId + L"\\CLSID", nullptr, clsid},
      {kAppPathKey, nullptr, outlookExe},
      {kAppPathKey, L"Path", FolderOf(outlookExe)},
  };
  for (const auto& entry : entries)
    if (LSTATUS status = SetText(entry.key, entry.name, entry.value); status != ERROR_SUCCESS)
      return status;
  return ERROR_SUCCESS;
}

HRESULT FromStatus(LSTATUS status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

}  // namespace

HRESULT RegisterInproc(const std::wstring& dllPath) {
  Unregister();
  LSTATUS status = RegisterCommon(FolderOf(dllPath) + L"\\Outlook.exe");
  if (status == ERROR_SUCCESS) status = SetText(kClsidKey + L"\\InprocServer32", nullptr, dllPath);
  if (status == ERROR_SUCCESS)
    status = SetText(kClsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  return FromStatus(status);
}

HRESULT RegisterLocal(const std::wstring& exePath) {
  Unregister();
  LSTATUS status = RegisterCommon(exePath);
  // Quoted: COM appends " -Embedding" to this command line.
  if (status == ERROR_SUCCESS)
    status = SetText(kClsidKey + L"\\LocalServer32", nullptr, L"\"" + exePath + L"\"");
  return FromStatus(status);
}

HRESULT Unregister() {
  for (const std::wstring& key :
       {kClsidKey, kClassesRoot + kProgId, kClassesRoot + kVersionedProgId, kAppPathKey}) {
    const LSTATUS status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
      RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
      continue;
    }
    return HRESULT_FROM_WIN32(status);
  }
  return S_OK;
}

HRESULT SetStorePath(const std::wstring& storePath) {
  return FromStatus(SetText(kStandinKey, L"Store", storePath));
}

RegisteredHost CurrentRegistration() {
  if (KeyExists(kClsidKey + L"\\LocalServer32")) return RegisteredHost::LocalServer;
  if (KeyExists(kClsidKey + L"\\InprocServer32")) return RegisteredHost::InProcess;
  return RegisteredHost::None;
}

}  // namespace standin

#include "hidden_prog_id.h"

namespace quorvel::endtoend {

namespace {

const std::wstring kClasses = L"Software\\Classes\\";

bool Exists(const std::wstring& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(opened);
  return true;
}

// Copies the tree `from` to `to` (made afresh) and deletes `from`.
bool Move(const std::wstring& from, const std::wstring& to) {
  HKEY source = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, from.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) {
    return false;
  }
  HKEY target = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                   nullptr, &target, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegCopyTreeW(source, nullptr, target);
    RegCloseKey(target);
  }
  RegCloseKey(source);
  if (status != ERROR_SUCCESS) return false;
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, from.c_str());
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, from.c_str());
  return !Exists(from);
}

}  // namespace

HiddenProgId::HiddenProgId(std::wstring prog_id)
    : key_(kClasses + prog_id), aside_(kClasses + L"QuorvelTestAside." + prog_id) {
  // A run that died while the ProgID was aside left it there: put it back first.
  if (!Exists(key_) && Exists(aside_)) Move(aside_, key_);
  hidden_ = Exists(key_) && Move(key_, aside_);
}

HiddenProgId::~HiddenProgId() {
  if (hidden_) Move(aside_, key_);
}

}  // namespace quorvel::endtoend

#include "outlook/com/com_shell.h"

#include <string>

namespace quorvel::outlook::com {

namespace {

// The path Windows registered for a program name under App Paths, the user's entry before the
// machine's as the shell reads them; empty when there is none.
std::wstring RegisteredPath(const std::wstring& name) {
  const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    DWORD bytes = 0;
    // A REG_EXPAND_SZ path comes expanded, as REG_SZ; asking for it by its own type is refused.
    const DWORD types = RRF_RT_REG_SZ;
    if (RegGetValueW(root, key.c_str(), nullptr, types, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
      continue;
    std::wstring path(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, key.c_str(), nullptr, types, nullptr, path.data(), &bytes) !=
        ERROR_SUCCESS)
      continue;
    path.resize(path.find(L'\0'));
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
      path = path.substr(1, path.size() - 2);
    if (!path.empty()) return path;
  }
  return {};
}

// A bare program name is run from where Windows registered it: the shell would look in the
// current folder first and, under Wine and perhaps on Windows, in this program's own folder,
// both of which a browser's download folder can be. Anything else goes to the shell as given.
std::wstring FromRegisteredPlace(const std::wstring& command) {
  if (command.empty() || command.find_first_of(L"\\/:\" ") != std::wstring::npos) return command;
  const std::wstring path = RegisteredPath(command);
  return path.empty() ? command : L"\"" + path + L"\"";
}

}  // namespace

void ComShell::Run(const std::wstring& command) {
  const auto argument = quorvel::com::Variant::FromText(FromRegisteredPlace(command));
  quorvel::com::CallMethod(shell_.Get(), run_.IdOn(shell_.Get()), {&argument.get(), 1});
}

}  // namespace quorvel::outlook::com

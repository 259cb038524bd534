#pragma once
// Registers the stand-in as "Outlook.Application" in the machine part of the registry (Wine's
// CLSIDFromProgID does not see per-user classes). Only one host is registered at a time.

#include <windows.h>

#include <string>

namespace standin {

HRESULT RegisterInproc(const std::wstring& dllPath);  // Outlook.exe is expected beside the DLL
HRESULT RegisterLocal(const std::wstring& exePath);
HRESULT Unregister();
HRESULT SetStorePath(const std::wstring& storePath);  // HKLM\Software\QuorvelStandin "Store"

enum class RegisteredHost { None, InProcess, LocalServer };
RegisteredHost CurrentRegistration();

}  // namespace standin

// The in-process host: COM loads this DLL into the client and calls straight into the objects.

#include <windows.h>

#include "object/class_factory.h"
#include "object/server_context.h"
#include "object/standin_identity.h"
#include "registry/standin_registry.h"

namespace {

HMODULE g_module = nullptr;

void ConfigureHost() {
  auto& context = standin::ServerContext::Instance();
  context.SetHost(standin::HostKind::InProcess);
  // With no object left nobody can reach the store: checkpoint it, and let the next
  // creation open it afresh (a test may point the next one at another store).
  context.onIdle = [] { standin::ServerContext::Instance().CloseSession(); };
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
  return std::wstring(path, length);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
    ConfigureHost();
  }
  return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != standin::kStandinClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return standin::ApplicationFactory()->QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
  const auto& context = standin::ServerContext::Instance();
  return context.objects() == 0 && context.locks() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT __stdcall DllRegisterServer() {
  return standin::RegisterInproc(ModulePath());
}

extern "C" HRESULT __stdcall DllUnregisterServer() {
  return standin::Unregister();
}

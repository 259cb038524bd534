// standin-admin: registers the stand-in in the current Wine prefix.
//   standin-admin register-inproc <dll> | register-local <exe> | unregister | set-store <path>
// Paths may be Unix paths; they are taken as on drive Z:, where Wine maps the root.

#include <windows.h>

#include <cstdio>
#include <string>

#include "registry/standin_registry.h"

namespace {

std::wstring WindowsPath(std::wstring path) {
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

int Usage() {
  std::fputws(
      L"usage: standin-admin register-inproc DLL | register-local EXE | unregister | "
      L"set-store PATH\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  HRESULT hr = E_INVALIDARG;
  if (command == L"unregister" && argc == 2) {
    hr = standin::Unregister();
  } else if (argc == 3) {
    const std::wstring path = WindowsPath(argv[2]);
    if (command == L"register-inproc")
      hr = standin::RegisterInproc(path);
    else if (command == L"register-local")
      hr = standin::RegisterLocal(path);
    else if (command == L"set-store")
      hr = standin::SetStorePath(path);
    else
      return Usage();
  } else {
    return Usage();
  }
  if (FAILED(hr)) {
    std::fwprintf(stderr, L"standin-admin %ls failed: 0x%08lX\n", command.c_str(),
                  static_cast<unsigned long>(hr));
    return 1;
  }
  return 0;
}

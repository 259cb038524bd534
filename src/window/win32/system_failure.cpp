#include "window/win32/system_failure.h"

#include <string>

namespace quorvel::win32 {

Error SystemFailure(const wchar_t* operation, DWORD code) {
  // Some calls fail without a last error; their failure must not read as "The operation
  // completed successfully".
  if (code == ERROR_SUCCESS) {
    return Error(static_cast<std::int32_t>(E_FAIL), L"Unspecified error", operation);
  }
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring description = length ? std::wstring(text, length) : std::wstring(operation);
  if (text) LocalFree(text);
  while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r')) {
    description.pop_back();
  }
  return Error(static_cast<std::int32_t>(HRESULT_FROM_WIN32(code)), std::move(description),
               operation);
}

}  // namespace quorvel::win32

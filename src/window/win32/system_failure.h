#pragma once
// A failed Win32 call as the program's current error.

#include <windows.h>

#include "common/error.h"

namespace quorvel::win32 {

// The error of GetLastError() (or `code`), with the system's text for it.
Error SystemFailure(const wchar_t* operation, DWORD code = GetLastError());

}  // namespace quorvel::win32

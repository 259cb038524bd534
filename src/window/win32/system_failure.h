#pragma once
// A failed Win32 call as the program's current error.

#include <windows.h>

#include "common/error.h"

namespace quorvel::win32 {

// The error of GetLastError() (or `code`), with the system's text for it. Many calls fail
// without setting a last error, and GetLastError() then returns whatever an earlier call left:
// the caller clears it (ClearLastError) right before the call whose failure it reports.
Error SystemFailure(const wchar_t* operation, DWORD code = GetLastError());

inline void ClearLastError() noexcept {
  SetLastError(ERROR_SUCCESS);
}

}  // namespace quorvel::win32

#pragma once
// How long a call that a busy server refuses is tried again before it fails.

#include <windows.h>

namespace quorvel::com {

inline constexpr DWORD kBusyRetryBudgetMs = 10000;  // what automation clients have long allowed
inline constexpr DWORD kBusyRetryDelayMs = 50;

// The refusals a busy server answers with; the call itself never reached the server.
inline bool IsBusyRefusal(HRESULT status) {
  return status == RPC_E_CALL_REJECTED || status == RPC_E_SERVERCALL_RETRYLATER;
}

// Makes a call that is not an Invoke (an enumerator's Next, say) and tries it again while a
// busy server refuses it, within the same budget; the last status is handed back.
template <class Call>
HRESULT RetryWhileBusy(Call call) {
  const ULONGLONG started = GetTickCount64();
  for (;;) {
    const HRESULT status = call();
    if (!IsBusyRefusal(status) || GetTickCount64() - started >= kBusyRetryBudgetMs) return status;
    Sleep(kBusyRetryDelayMs);
  }
}

}  // namespace quorvel::com

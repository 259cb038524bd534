#pragma once
// How long a call that a busy server refuses is tried again before it fails.

#include <windows.h>

namespace quorvel::com {

inline constexpr DWORD kBusyRetryBudgetMs = 10000;  // what automation clients have long allowed
inline constexpr DWORD kBusyRetryDelayMs = 50;
// The message filter's wait: COM retries at once, at full speed, on anything below 100.
inline constexpr DWORD kFilterRetryDelayMs = 100;

// The refusals a busy server answers with; the call itself never reached the server.
inline bool IsBusyRefusal(HRESULT status) {
  return status == RPC_E_CALL_REJECTED || status == RPC_E_SERVERCALL_RETRYLATER;
}

// The budget of the call in progress on this thread. The helpers' own retries (for a COM that
// never asks the message filter, as Wine's) and the filter's retries (on Windows) draw on this
// one budget, so that together they never wait longer than it.
class BusyBudget {
 public:
  BusyBudget() : outer_deadline_(deadline_) {
    if (deadline_ == 0) deadline_ = GetTickCount64() + kBusyRetryBudgetMs;
  }
  ~BusyBudget() { deadline_ = outer_deadline_; }
  BusyBudget(const BusyBudget&) = delete;
  BusyBudget& operator=(const BusyBudget&) = delete;

  bool Spent() const { return GetTickCount64() >= deadline_; }

  // What is left of the budget for a call COM has been retrying for `elapsed_ms`: of the
  // budget in progress, or of a budget of the call's own when it was made outside one.
  static DWORD LeftFor(DWORD elapsed_ms) {
    if (deadline_ != 0) {
      const ULONGLONG now = GetTickCount64();
      return now >= deadline_ ? 0 : static_cast<DWORD>(deadline_ - now);
    }
    return elapsed_ms >= kBusyRetryBudgetMs ? 0 : kBusyRetryBudgetMs - elapsed_ms;
  }

 private:
  ULONGLONG outer_deadline_;
  static inline thread_local ULONGLONG deadline_ = 0;
};

// Makes a call that is not an Invoke (an enumerator's Next, say) and tries it again while a
// busy server refuses it, within the same budget; the last status is handed back.
template <class Call>
HRESULT RetryWhileBusy(Call call) {
  const BusyBudget budget;
  for (;;) {
    const HRESULT status = call();
    if (!IsBusyRefusal(status) || budget.Spent()) return status;
    Sleep(kBusyRetryDelayMs);
  }
}

}  // namespace quorvel::com

#include "common/com/message_filter.h"

#include "common/com/busy_retry.h"

namespace quorvel::com {

HRESULT STDMETHODCALLTYPE RetryingMessageFilter::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
    *object = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE RetryingMessageFilter::AddRef() {
  return ++references_;
}

ULONG STDMETHODCALLTYPE RetryingMessageFilter::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

DWORD STDMETHODCALLTYPE RetryingMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD,
                                                                  LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

// A refused save must not be lost quietly: retry until the budget is spent, then let the call
// fail with the refusal so the caller reports it.
DWORD STDMETHODCALLTYPE RetryingMessageFilter::RetryRejectedCall(HTASK, DWORD tick_count,
                                                                 DWORD reject_type) {
  ++retries_offered_;
  if (reject_type != SERVERCALL_RETRYLATER && reject_type != SERVERCALL_REJECTED) {
    return static_cast<DWORD>(-1);
  }
  if (tick_count >= kBusyRetryBudgetMs) return static_cast<DWORD>(-1);
  return kBusyRetryDelayMs;
}

DWORD STDMETHODCALLTYPE RetryingMessageFilter::MessagePending(HTASK, DWORD, DWORD) {
  return PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace quorvel::com

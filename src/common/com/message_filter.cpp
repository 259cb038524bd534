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

// A refused save must not be lost quietly: a server that asks to be called later is called
// again after a wait, until the budget is spent; then the call fails with the refusal so the
// caller reports it. A rejected call is cancelled at once, as the contract has it.
DWORD STDMETHODCALLTYPE RetryingMessageFilter::RetryRejectedCall(HTASK, DWORD tick_count,
                                                                 DWORD reject_type) {
  constexpr DWORD kCancel = static_cast<DWORD>(-1);
  ++retries_offered_;
  if (reject_type != SERVERCALL_RETRYLATER) return kCancel;
  if (BusyBudget::LeftFor(tick_count) < kFilterRetryDelayMs) return kCancel;
  return kFilterRetryDelayMs;
}

DWORD STDMETHODCALLTYPE RetryingMessageFilter::MessagePending(HTASK, DWORD, DWORD) {
  return PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace quorvel::com

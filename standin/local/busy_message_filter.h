#pragma once
// The local server's message filter: while it starts, and for a while after each Save, it
// refuses incoming calls and activation, as Outlook does while it loads its add-ins or one of
// them works on its main thread.
//
// Wine 8's combase calls HandleInComingCall on the server, but treats SERVERCALL_RETRYLATER
// as "handled" (it logs "retry call later not implemented" and runs the call) and never calls
// the client's RetryRejectedCall. SERVERCALL_REJECTED does reach the client, as the failed
// call's RPC_E_CALL_REJECTED. So under Wine the refusal is SERVERCALL_REJECTED, and the client
// must retry that itself; on Windows it is Outlook's SERVERCALL_RETRYLATER.

#include <objidl.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace standin {

class BusyMessageFilter final : public IMessageFilter {
 public:
  enum class Refusal { RetryLater, Rejected };
  explicit BusyMessageFilter(Refusal refusal) : refusal_(refusal) {}

  // Refuse calls for `milliseconds` from now.
  void StartBusy(unsigned milliseconds);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as the server
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                             LPINTERFACEINFO info) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return DWORD(-1); }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    return PENDINGMSG_WAITDEFPROCESS;
  }

 private:
  Refusal refusal_;
  std::atomic<std::uint64_t> busyUntil_{0};  // GetTickCount64 value
};

// SERVERCALL_REJECTED under Wine, SERVERCALL_RETRYLATER elsewhere; the store's
// faults.busyReply ("retrylater" or "rejected") overrides it, to measure what a platform does
// with either.
BusyMessageFilter::Refusal ChooseRefusal(const std::wstring& storeChoice);

}  // namespace standin

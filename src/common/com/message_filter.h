#pragma once
// The client side of a busy server: calls it refuses are offered again for a while.

#include <windows.h>
#include <objidl.h>

#include <atomic>
#include <cstdint>

namespace quorvel::com {

class RetryingMessageFilter final : public IMessageFilter {
 public:
  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IMessageFilter
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD call_type, HTASK caller, DWORD tick_count,
                                             LPINTERFACEINFO interface_info) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tick_count,
                                            DWORD reject_type) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tick_count,
                                         DWORD pending_type) override;

  // How often COM has asked this process's filters to retry: tells whether the platform's
  // COM retries rejected calls at all (Wine 8 does not).
  static std::uint32_t RetriesOffered() noexcept { return retries_offered_.load(); }

 private:
  std::atomic<ULONG> references_{1};
  static inline std::atomic<std::uint32_t> retries_offered_{0};
};

}  // namespace quorvel::com

#include "local/busy_message_filter.h"

#include <windows.h>

#include <string>

#include "store/call_counts.h"

namespace standin {

void BusyMessageFilter::StartBusy(unsigned milliseconds) {
  if (milliseconds) busyUntil_ = GetTickCount64() + milliseconds;
}

HRESULT BusyMessageFilter::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
    *out = static_cast<IMessageFilter*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

DWORD BusyMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO info) {
  STANDIN_COUNT("IMessageFilter.HandleInComingCall");
  // The object model and activation are refused; COM's own housekeeping (IRemUnknown) must
  // get through.
  const bool modelCall = info && (info->iid == IID_IDispatch || info->iid == IID_IEnumVARIANT ||
                                  info->iid == IID_IClassFactory);
  if (!modelCall || GetTickCount64() >= busyUntil_) return SERVERCALL_ISHANDLED;
  STANDIN_COUNT("IMessageFilter.Refused");
  return refusal_ == Refusal::Rejected ? SERVERCALL_REJECTED : SERVERCALL_RETRYLATER;
}

BusyMessageFilter::Refusal ChooseRefusal(const std::wstring& storeChoice) {
  if (storeChoice == L"retrylater") return BusyMessageFilter::Refusal::RetryLater;
  if (storeChoice == L"rejected") return BusyMessageFilter::Refusal::Rejected;
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const bool wine = ntdll && GetProcAddress(ntdll, "wine_get_version");
  return wine ? BusyMessageFilter::Refusal::Rejected : BusyMessageFilter::Refusal::RetryLater;
}

}  // namespace standin

#include "common/com/com_error.h"

#include <wrl/client.h>

#include <cstdint>

#include "common/com/bstr.h"

namespace quorvel::com {

using Microsoft::WRL::ComPtr;

namespace {

std::wstring Trimmed(std::wstring text) {
  const auto last = text.find_last_not_of(L" \t\r\n");
  text.erase(last == std::wstring::npos ? 0 : last + 1);
  return text;
}

std::wstring DescriptionOf(HRESULT status) {
  std::wstring text = SystemMessage(status);
  return text.empty() ? std::wstring(kAutomationError) : text;
}

std::wstring SourceOr(std::wstring source) {
  return source.empty() ? std::wstring(kApplicationTitle) : source;
}

// Rich error information counts only when the object vouches for it on this interface;
// otherwise a stale record of an earlier call could be reported.
bool RichErrorInfo(IUnknown* object, REFIID iid, std::wstring& description, std::wstring& source) {
  if (!object) return false;
  ComPtr<ISupportErrorInfo> support;
  if (FAILED(object->QueryInterface(IID_PPV_ARGS(&support)))) return false;
  if (support->InterfaceSupportsErrorInfo(iid) != S_OK) return false;
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, &info) != S_OK || !info) return false;
  Bstr text;
  Bstr origin;
  info->GetDescription(text.Put());
  info->GetSource(origin.Put());
  description = Trimmed(text.ToWString());
  source = origin.ToWString();
  return true;
}

}  // namespace

std::wstring SystemMessage(HRESULT status) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  if (length == 0 || !buffer) return {};
  std::wstring text(buffer, length);
  LocalFree(buffer);
  return Trimmed(std::move(text));
}

Error ErrorFromStatus(HRESULT status, IUnknown* object, REFIID iid) {
  std::wstring description;
  std::wstring source;
  if (!RichErrorInfo(object, iid, description, source) || description.empty()) {
    description = DescriptionOf(status);
  }
  return Error(static_cast<std::int32_t>(status), std::move(description),
               SourceOr(std::move(source)));
}

Error ErrorFromException(EXCEPINFO& exception, HRESULT status) {
  if (exception.pfnDeferredFillIn) {
    exception.pfnDeferredFillIn(&exception);
    exception.pfnDeferredFillIn = nullptr;
  }
  std::wstring description =
      exception.bstrDescription ? Trimmed(exception.bstrDescription) : std::wstring();
  // A server's own code (wCode) keeps the server's description, or none: the system's text for
  // that number would name another failure. A record naming neither code is the call's status.
  const bool server_code = exception.scode == 0 && exception.wCode != 0;
  const std::int32_t number = exception.scode != 0 ? static_cast<std::int32_t>(exception.scode)
                              : server_code        ? static_cast<std::int32_t>(exception.wCode)
                                                   : static_cast<std::int32_t>(status);
  if (description.empty() && !server_code) description = DescriptionOf(number);
  std::wstring source = exception.bstrSource ? exception.bstrSource : L"";
  return Error(number, std::move(description), SourceOr(std::move(source)));
}

Error ErrorFromInvoke(HRESULT status, EXCEPINFO& exception, unsigned argument_position,
                      IDispatch* object) {
  if (status == DISP_E_EXCEPTION) return ErrorFromException(exception, status);
  Error error = ErrorFromStatus(status, object, IID_IDispatch);
  if ((status == DISP_E_TYPEMISMATCH || status == DISP_E_PARAMNOTFOUND) && argument_position > 0) {
    ErrorRecord record = error.record();
    record.description += L" (argument " + std::to_wstring(argument_position) + L")";
    return Error(std::move(record));
  }
  return error;
}

}  // namespace quorvel::com

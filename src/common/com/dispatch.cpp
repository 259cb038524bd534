#include "common/com/dispatch.h"

#include <vector>

#include "common/com/busy_retry.h"
#include "common/com/com_error.h"
#include "common/error.h"

namespace quorvel::com {

namespace {

// Frees whatever strings the server put into the exception record, on every path.
struct ExceptionRecord {
  EXCEPINFO info{};
  ~ExceptionRecord() { Reset(); }
  void Reset() {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info = EXCEPINFO{};
  }
};

}  // namespace

Variant Invoke(IDispatch* object, DISPID member, WORD flags, std::span<const VARIANT> arguments) {
  if (!object) throw ObjectNotSet();

  // IDispatch takes its arguments last to first. The copies are shallow: the caller still owns.
  std::vector<VARIANTARG> reversed(arguments.rbegin(), arguments.rend());
  DISPID put_id = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{};
  parameters.cArgs = static_cast<UINT>(reversed.size());
  parameters.rgvarg = reversed.empty() ? nullptr : reversed.data();
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    parameters.cNamedArgs = 1;
    parameters.rgdispidNamedArgs = &put_id;
  }

  Variant result;
  ExceptionRecord exception;
  constexpr UINT kNoArgumentBlamed = static_cast<UINT>(-1);
  UINT argument_error = kNoArgumentBlamed;
  const BusyBudget budget;
  for (;;) {
    exception.Reset();
    argument_error = kNoArgumentBlamed;
    const HRESULT status = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                          result.Put(), &exception.info, &argument_error);
    if (SUCCEEDED(status)) return result;
    // Wine's COM neither retries through the message filter nor holds the call on the server
    // side, so the refusal lands here; on Windows the filter has drawn on the same budget.
    if (IsBusyRefusal(status) && !budget.Spent()) {
      Sleep(kBusyRetryDelayMs);
      continue;
    }
    const unsigned position =
        argument_error < parameters.cArgs ? parameters.cArgs - argument_error : 0;
    throw ErrorFromInvoke(status, exception.info, position, object);
  }
}

DISPID NamedMember::IdOn(IDispatch* object) {
  if (!object) throw ObjectNotSet();
  if (id_) return *id_;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name_)};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT status = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(status)) throw ErrorFromStatus(status, object, IID_IDispatch);
  id_ = id;
  return id;
}

}  // namespace quorvel::com

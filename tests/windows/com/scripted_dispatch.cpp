#include "scripted_dispatch.h"

namespace quorvel::testing {

namespace {

std::wstring TextOf(const VARIANT& value) {
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&value), 0, VT_BSTR))) {
    return L"<type " + std::to_wstring(value.vt) + L">";
  }
  std::wstring result(text.bstrVal ? text.bstrVal : L"");
  VariantClear(&text);
  return result;
}

}  // namespace

int ScriptedDispatch::invocations(DISPID member) const {
  const auto found = invocations_.find(member);
  return found == invocations_.end() ? 0 : found->second;
}

std::vector<std::wstring> ScriptedDispatch::last_arguments(DISPID member) const {
  const auto found = last_arguments_.find(member);
  return found == last_arguments_.end() ? std::vector<std::wstring>{} : found->second;
}

HRESULT STDMETHODCALLTYPE ScriptedDispatch::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
  } else if (iid == IID_ISupportErrorInfo) {
    *object = static_cast<ISupportErrorInfo*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE ScriptedDispatch::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE ScriptedDispatch::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ScriptedDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                          DISPID* ids) {
  ++name_lookups_;
  HRESULT status = S_OK;
  for (UINT i = 0; i < count; ++i) {
    const auto found = names_.find(names[i]);
    ids[i] = found == names_.end() ? DISPID_UNKNOWN : found->second;
    if (found == names_.end()) status = DISP_E_UNKNOWNNAME;
  }
  return status;
}

HRESULT STDMETHODCALLTYPE ScriptedDispatch::Invoke(DISPID member, REFIID, LCID, WORD flags,
                                                   DISPPARAMS* parameters, VARIANT* result,
                                                   EXCEPINFO* exception, UINT* argument_error) {
  ++invocations_[member];
  std::vector<std::wstring> arguments;
  for (UINT i = parameters->cArgs; i > 0; --i)
    arguments.push_back(TextOf(parameters->rgvarg[i - 1]));
  last_arguments_[member] = std::move(arguments);
  const auto found = scripts_.find(member);
  if (found == scripts_.end()) return DISP_E_MEMBERNOTFOUND;
  return found->second(InvokeCall{flags, parameters, result, exception, argument_error});
}

HRESULT STDMETHODCALLTYPE ScriptedDispatch::InterfaceSupportsErrorInfo(REFIID iid) {
  return vouches_ && iid == IID_IDispatch ? S_OK : S_FALSE;
}

HRESULT RaiseException(const InvokeCall& call, SCODE scode, WORD code, const wchar_t* description,
                       const wchar_t* source) {
  call.exception->scode = scode;
  call.exception->wCode = code;
  call.exception->bstrDescription = description ? SysAllocString(description) : nullptr;
  call.exception->bstrSource = source ? SysAllocString(source) : nullptr;
  return DISP_E_EXCEPTION;
}

ScriptedEnumerator* ScriptedEnumerator::Create(std::vector<VARIANT> elements, HRESULT failure,
                                               size_t fail_at) {
  auto* enumerator = new ScriptedEnumerator();
  enumerator->elements_ = std::move(elements);
  enumerator->failure_ = failure;
  enumerator->fail_at_ = fail_at;
  return enumerator;
}

ScriptedEnumerator::~ScriptedEnumerator() {
  for (auto& element : elements_) VariantClear(&element);
}

HRESULT STDMETHODCALLTYPE ScriptedEnumerator::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
    *object = static_cast<IEnumVARIANT*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ScriptedEnumerator::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE ScriptedEnumerator::Next(ULONG count, VARIANT* elements, ULONG* fetched) {
  ULONG given = 0;
  while (given < count && position_ < elements_.size()) {
    if (position_ == fail_at_) {
      if (fetched) *fetched = given;
      return failure_;
    }
    VariantInit(&elements[given]);
    VariantCopy(&elements[given], &elements_[position_]);
    ++given;
    ++position_;
  }
  if (fetched) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE ScriptedEnumerator::Reset() {
  position_ = 0;
  return S_OK;
}

}  // namespace quorvel::testing

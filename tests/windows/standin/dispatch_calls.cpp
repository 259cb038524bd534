#include "dispatch_calls.h"

#include <algorithm>
#include <vector>

namespace standin_test {
namespace {

quorvel::Error WrongType() {
  return quorvel::Error(13, L"Type mismatch", L"test");
}

[[noreturn]] void Fail(const Outcome& outcome, const wchar_t* name) {
  if (outcome.hr == DISP_E_EXCEPTION) throw quorvel::Error(outcome.error);
  throw quorvel::Error(static_cast<std::int32_t>(outcome.hr),
                       std::wstring(L"call of ") + name + L" failed", L"test");
}

Outcome Checked(IDispatch* object, const wchar_t* name, WORD flags,
                std::initializer_list<VARIANT> args, VARIANT* result) {
  Outcome outcome = TryInvoke(object, name, flags, args, result);
  if (FAILED(outcome.hr)) Fail(outcome, name);
  return outcome;
}

}  // namespace

Outcome TryInvokeId(IDispatch* object, DISPID id, WORD flags, std::initializer_list<VARIANT> args,
                    VARIANT* result) {
  std::vector<VARIANT> reversed(args.begin(), args.end());
  std::reverse(reversed.begin(), reversed.end());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  UINT argError = 0;
  Outcome outcome;
  outcome.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception,
                              &argError);
  if (outcome.hr == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    outcome.error.number = exception.scode ? exception.scode : exception.wCode;
    outcome.code = exception.wCode;
    if (exception.bstrDescription) outcome.error.description = exception.bstrDescription;
    if (exception.bstrSource) outcome.error.source = exception.bstrSource;
  }
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrHelpFile);
  return outcome;
}

Outcome TryInvoke(IDispatch* object, const wchar_t* name, WORD flags,
                  std::initializer_list<VARIANT> args, VARIANT* result) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return {hr, {}};
  return TryInvokeId(object, id, flags, args, result);
}

ComPtr<IDispatch> GetObject(IDispatch* object, const wchar_t* name,
                            std::initializer_list<VARIANT> args) {
  standin::Variant result;
  Checked(object, name, kGet, args, result.get());
  ComPtr<IDispatch> found;
  if ((*result).vt == VT_DISPATCH) found = (*result).pdispVal;
  return found;
}

std::wstring GetText(IDispatch* object, const wchar_t* name) {
  standin::Variant result;
  Checked(object, name, kGet, {}, result.get());
  const auto text = standin::ArgumentText(*result);
  if (!text) throw WrongType();
  return *text;
}

long GetLong(IDispatch* object, const wchar_t* name) {
  standin::Variant result;
  Checked(object, name, kGet, {}, result.get());
  if ((*result).vt != VT_I4) throw WrongType();
  return (*result).lVal;
}

double GetDate(IDispatch* object, const wchar_t* name) {
  standin::Variant result;
  Checked(object, name, kGet, {}, result.get());
  if ((*result).vt != VT_DATE) throw WrongType();
  return (*result).date;
}

void PutText(IDispatch* object, const wchar_t* name, const std::wstring& value) {
  standin::Bstr text(value);
  Checked(object, name, DISPATCH_PROPERTYPUT, {Text(text)}, nullptr);
}

void CallMethod(IDispatch* object, const wchar_t* name, std::initializer_list<VARIANT> args) {
  standin::Variant ignored;
  Checked(object, name, DISPATCH_METHOD, args, ignored.get());
}

VARIANT Text(const standin::Bstr& text) {
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = text.get();
  return v;
}

VARIANT Long(long value) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT Bool(bool value) {
  VARIANT v;
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

ComPtr<IEnumVARIANT> Enumerate(IDispatch* items) {
  standin::Variant result;
  const Outcome outcome = TryInvokeId(items, DISPID_NEWENUM, kGet, {}, result.get());
  if (FAILED(outcome.hr)) Fail(outcome, L"_NewEnum");
  ComPtr<IEnumVARIANT> walk;
  if ((*result).vt != VT_UNKNOWN && (*result).vt != VT_DISPATCH) throw WrongType();
  if (FAILED((*result).punkVal->QueryInterface(IID_PPV_ARGS(&walk)))) throw WrongType();
  return walk;
}

ComPtr<IDispatch> NextElement(IEnumVARIANT* walk) {
  standin::Variant element;
  ULONG fetched = 0;
  const HRESULT hr = walk->Next(1, element.get(), &fetched);
  if (FAILED(hr)) throw quorvel::Error(static_cast<std::int32_t>(hr), L"Next failed", L"test");
  ComPtr<IDispatch> item;
  if (fetched == 1 && (*element).vt == VT_DISPATCH) item = (*element).pdispVal;
  return item;
}

Batch::Batch(IEnumVARIANT* walk, ULONG wanted) : elements(wanted) {
  for (VARIANT& element : elements) VariantInit(&element);
  hr = walk->Next(wanted, elements.data(), &fetched);
}

Batch::~Batch() {
  for (VARIANT& element : elements) VariantClear(&element);
}

std::vector<std::wstring> Batch::EntryIds() const {
  std::vector<std::wstring> ids;
  for (ULONG i = 0; i < fetched && i < elements.size(); ++i)
    ids.push_back(elements[i].vt == VT_DISPATCH ? GetText(elements[i].pdispVal, L"EntryID") : L"");
  return ids;
}

HRESULT CreateOutlook(ComPtr<IDispatch>& application) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(L"Outlook.Application", &clsid);
  if (FAILED(hr)) return hr;
  application.Reset();
  return CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_PPV_ARGS(&application));
}

ComPtr<IDispatch> OpenCalendar(IDispatch* application) {
  standin::Bstr mapi(L"MAPI");
  ComPtr<IDispatch> nameSpace = GetObject(application, L"GetNamespace", {Text(mapi)});
  return GetObject(nameSpace.Get(), L"GetDefaultFolder", {Long(9)});
}

}  // namespace standin_test

#pragma once
// Raw late-bound calls as an automation client makes them: names through GetIDsOfNames,
// then Invoke. A failing call throws quorvel::Error with what EXCEPINFO or the HRESULT said.

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "common/error.h"
#include "object/com_values.h"

namespace standin_test {

using Microsoft::WRL::ComPtr;

struct Outcome {
  HRESULT hr = S_OK;
  quorvel::ErrorRecord error;  // from EXCEPINFO when hr is DISP_E_EXCEPTION
  WORD code = 0;               // its wCode
};

// One Invoke; `args` in the caller's order. Never throws for a failing call.
Outcome TryInvoke(IDispatch* object, const wchar_t* name, WORD flags,
                  std::initializer_list<VARIANT> args, VARIANT* result);
Outcome TryInvokeId(IDispatch* object, DISPID id, WORD flags, std::initializer_list<VARIANT> args,
                    VARIANT* result);

constexpr WORD kGet = DISPATCH_PROPERTYGET | DISPATCH_METHOD;

ComPtr<IDispatch> GetObject(IDispatch* object, const wchar_t* name,
                            std::initializer_list<VARIANT> args = {});
std::wstring GetText(IDispatch* object, const wchar_t* name);
long GetLong(IDispatch* object, const wchar_t* name);
double GetDate(IDispatch* object, const wchar_t* name);
void PutText(IDispatch* object, const wchar_t* name, const std::wstring& value);
void CallMethod(IDispatch* object, const wchar_t* name, std::initializer_list<VARIANT> args = {});

// Argument makers; the BSTR one borrows the caller's Bstr.
VARIANT Text(const standin::Bstr& text);
VARIANT Long(long value);
VARIANT Bool(bool value);

// Every element of `items` through _NewEnum and IEnumVARIANT::Next, one at a time.
ComPtr<IEnumVARIANT> Enumerate(IDispatch* items);
ComPtr<IDispatch> NextElement(IEnumVARIANT* walk);  // null at the end

// One IEnumVARIANT::Next asking for `wanted` elements; what it gave is released with it.
struct Batch {
  Batch(IEnumVARIANT* walk, ULONG wanted);
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;
  ~Batch();
  std::vector<std::wstring> EntryIds() const;  // of the elements fetched
  HRESULT hr;
  ULONG fetched = 0;
  std::vector<VARIANT> elements;
};

// "Outlook.Application" created as the product creates it (CLSCTX_SERVER).
HRESULT CreateOutlook(ComPtr<IDispatch>& application);
ComPtr<IDispatch> OpenCalendar(IDispatch* application);

}  // namespace standin_test

#pragma once
// How a failed COM call becomes the program's current error, as an automation client sees it.

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "common/error.h"

namespace quorvel::com {

inline constexpr wchar_t kAutomationError[] = L"Automation error";

// The system's text for a status, without the trailing line break; empty when there is none.
std::wstring SystemMessage(HRESULT status);

// A status from anything but an Invoke that raised an exception. When `object` says it
// supports rich error information for `iid`, its IErrorInfo supplies description and source.
Error ErrorFromStatus(HRESULT status, IUnknown* object, REFIID iid);

// A DISP_E_EXCEPTION: the server's EXCEPINFO, after its deferred fill-in; `status`, the call's
// own, numbers a record that names no code. Does not free the strings; the caller's holder does.
Error ErrorFromException(EXCEPINFO& exception, HRESULT status);

// A failed Invoke; `argument_position` is the 1-based position (in call order) of the argument
// the server blamed, or 0 when it named none.
Error ErrorFromInvoke(HRESULT status, EXCEPINFO& exception, unsigned argument_position,
                      IDispatch* object);

}  // namespace quorvel::com

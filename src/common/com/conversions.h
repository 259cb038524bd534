#pragma once
// Results of automation calls in the types the program works with. A result of another type
// is converted as an automation client would; one that cannot be is a type mismatch (13).

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>

#include "common/com/variant.h"
#include "common/date_time.h"

namespace quorvel::com {

// Nothing (empty, null or a null object) gives a null pointer.
Microsoft::WRL::ComPtr<IDispatch> ToObject(Variant value);
std::int32_t ToLong(const Variant& value);
std::wstring ToText(const Variant& value);
DateTime ToDateTime(const Variant& value);  // to the nearest second

// An automation date (days since 1899-12-30, the fraction the time of day) to the second.
DateTime FromAutomationDate(DATE value);

}  // namespace quorvel::com

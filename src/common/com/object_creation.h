#pragma once
// Creating an automation object from its ProgID, wherever the registry says it is served.

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <string>

namespace quorvel::com {

// Throws quorvel::Error with the failing status as its number.
Microsoft::WRL::ComPtr<IDispatch> CreateObject(const std::wstring& prog_id);

}  // namespace quorvel::com

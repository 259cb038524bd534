#include "common/com/object_creation.h"

#include <cstdint>

#include "common/com/busy_retry.h"
#include "common/com/com_error.h"
#include "common/error.h"

namespace quorvel::com {

namespace {

[[noreturn]] void ThrowCreationFailure(HRESULT status) {
  std::wstring description = SystemMessage(status);
  if (description.empty()) description = kAutomationError;
  throw Error(static_cast<std::int32_t>(status), std::move(description), kApplicationTitle);
}

}  // namespace

Microsoft::WRL::ComPtr<IDispatch> CreateObject(const std::wstring& prog_id) {
  CLSID class_id{};
  HRESULT status = CLSIDFromProgID(prog_id.c_str(), &class_id);
  if (FAILED(status)) ThrowCreationFailure(status);
  Microsoft::WRL::ComPtr<IDispatch> object;
  // A starting Outlook refuses activation as busy, as it refuses calls.
  status = RetryWhileBusy([&] {
    object.Reset();
    return CoCreateInstance(class_id, nullptr, CLSCTX_SERVER, IID_PPV_ARGS(&object));
  });
  if (FAILED(status)) ThrowCreationFailure(status);
  return object;
}

}  // namespace quorvel::com

#include "common/com/apartment.h"

#include <windows.h>
#include <objbase.h>

#include "common/com/com_error.h"
#include "common/com/message_filter.h"
#include "common/error.h"

namespace quorvel::com {

namespace {

// The apartment header stays free of windows.h, so the state it needs lives per thread here:
// one apartment per thread is the rule anyway.
struct ApartmentState {
  IMessageFilter* previous_filter = nullptr;
  IMessageFilter* own_filter = nullptr;
};
thread_local ApartmentState state;

}  // namespace

Apartment::Apartment() {
  const HRESULT status = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(status)) {
    throw ErrorFromStatus(status, nullptr, IID_NULL);
  }
  state.own_filter = new RetryingMessageFilter();
  if (FAILED(CoRegisterMessageFilter(state.own_filter, &state.previous_filter))) {
    // Without a filter calls still work; they are only not retried by COM itself.
    state.previous_filter = nullptr;
  }
}

Apartment::~Apartment() {
  IMessageFilter* replaced = nullptr;
  CoRegisterMessageFilter(state.previous_filter, &replaced);
  if (replaced) replaced->Release();
  if (state.previous_filter) state.previous_filter->Release();
  state.own_filter->Release();
  state = ApartmentState{};
  CoUninitialize();
}

}  // namespace quorvel::com

// What a failing member looks like to the caller once the Invoke helper has mapped it.
#include <gtest/gtest.h>
#include <wrl/client.h>

#include "common/com/busy_retry.h"
#include "common/com/conversions.h"
#include "common/com/dispatch.h"
#include "common/com/message_filter.h"
#include "common/com/object_creation.h"
#include "common/com/variant.h"
#include "common/error.h"
#include "scripted_dispatch.h"

namespace quorvel {
namespace {

using Microsoft::WRL::ComPtr;
using testing::InvokeCall;
using testing::ScriptedDispatch;

constexpr DISPID kMember = 55;

ComPtr<ScriptedDispatch> NewObject() {
  ComPtr<ScriptedDispatch> object;
  *object.GetAddressOf() = ScriptedDispatch::Create();  // mingw's Attach adds a reference
  return object;
}

ErrorRecord FailureOf(IDispatch* object, DISPID member = kMember,
                      std::span<const VARIANT> arguments = {}) {
  try {
    com::Invoke(object, member, DISPATCH_METHOD, arguments);
  } catch (const Error& error) {
    return error.record();
  }
  ADD_FAILURE() << "the call did not fail";
  return {};
}

TEST(InvokeErrors, ServerExceptionReachesCallerAsRaised) {
  auto object = NewObject();
  object->On(kMember, [](const InvokeCall& call) {
    return testing::RaiseException(call, static_cast<SCODE>(0x8004010F), 0,
                                   L"The attempted operation failed. An object could not be found.",
                                   L"Microsoft Outlook");
  });
  EXPECT_EQ(
      FailureOf(object.Get()),
      (ErrorRecord{-2147221233, L"The attempted operation failed. An object could not be found.",
                   L"Microsoft Outlook"}));

  // Outlook sets its code 4096 beside the status: the status is the number.
  object->On(kMember, [](const InvokeCall& call) {
    return testing::RaiseException(call, static_cast<SCODE>(0x8004011D), 4096, L"Limited",
                                   L"Microsoft Outlook");
  });
  EXPECT_EQ(FailureOf(object.Get()),
            (ErrorRecord{static_cast<std::int32_t>(0x8004011D), L"Limited", L"Microsoft Outlook"}));

  // A server-defined code with no status: the code is the number.
  object->On(kMember, [](const InvokeCall& call) {
    return testing::RaiseException(call, 0, 1001, L"Custom failure", L"Some server");
  });
  EXPECT_EQ(FailureOf(object.Get()), (ErrorRecord{1001, L"Custom failure", L"Some server"}));

  // Without a description it keeps its number and gets no system text of another failure's.
  object->On(kMember, [](const InvokeCall& call) {
    return testing::RaiseException(call, 0, 5, nullptr, L"Some server");
  });
  EXPECT_EQ(FailureOf(object.Get()), (ErrorRecord{5, L"", L"Some server"}));

  // A record naming neither code is the call's own failure, never "success".
  object->On(kMember, [](const InvokeCall& call) {
    return testing::RaiseException(call, 0, 0, nullptr, L"Some server");
  });
  EXPECT_EQ(FailureOf(object.Get()).number, static_cast<std::int32_t>(DISP_E_EXCEPTION));

  // A server that names no source: the program's own title stands in.
  object->On(kMember, [](const InvokeCall& call) {
    return testing::RaiseException(call, E_ABORT, 0, L"Operation aborted", nullptr);
  });
  EXPECT_EQ(FailureOf(object.Get()),
            (ErrorRecord{-2147467260, L"Operation aborted", L"QuorvelImport"}));
}

HRESULT STDAPICALLTYPE FillLater(EXCEPINFO* exception) {
  exception->scode = static_cast<SCODE>(0x80040109);
  exception->bstrDescription = SysAllocString(L"Filled in late");
  exception->bstrSource = SysAllocString(L"Lazy server");
  return S_OK;
}

TEST(InvokeErrors, DeferredFillInIsCalledBeforeReading) {
  auto object = NewObject();
  object->On(kMember, [](const InvokeCall& call) {
    call.exception->pfnDeferredFillIn = &FillLater;
    return DISP_E_EXCEPTION;
  });
  EXPECT_EQ(FailureOf(object.Get()), (ErrorRecord{static_cast<std::int32_t>(0x80040109),
                                                  L"Filled in late", L"Lazy server"}));
}

TEST(InvokeErrors, PlainStatusUsesSystemTextOrGenericText) {
  auto object = NewObject();
  object->On(kMember, [](const InvokeCall&) { return E_ACCESSDENIED; });
  EXPECT_EQ(FailureOf(object.Get()),  // the system's text ends in a line break; it is cut off
            (ErrorRecord{static_cast<std::int32_t>(E_ACCESSDENIED), L"Access denied.",
                         L"QuorvelImport"}));

  // A status the system has no text for (Wine has none for most COM statuses).
  object->On(kMember, [](const InvokeCall&) { return static_cast<HRESULT>(0x80047A01); });
  EXPECT_EQ(FailureOf(object.Get()), (ErrorRecord{static_cast<std::int32_t>(0x80047A01),
                                                  L"Automation error", L"QuorvelImport"}));
}

HRESULT FailWithErrorInfo(const wchar_t* description, const wchar_t* source) {
  ComPtr<ICreateErrorInfo> creator;
  if (FAILED(CreateErrorInfo(&creator))) return E_FAIL;
  creator->SetDescription(const_cast<LPOLESTR>(description));
  creator->SetSource(const_cast<LPOLESTR>(source));
  ComPtr<IErrorInfo> info;
  creator.As(&info);
  SetErrorInfo(0, info.Get());
  return E_ACCESSDENIED;
}

TEST(InvokeErrors, ErrorInfoCountsOnlyWhenTheObjectVouchesForIt) {
  auto object = NewObject();
  object->On(kMember, [](const InvokeCall&) {
    return FailWithErrorInfo(L"You do not have permission", L"Store");
  });
  object->set_vouches_for_error_info(true);
  EXPECT_EQ(FailureOf(object.Get()), (ErrorRecord{static_cast<std::int32_t>(E_ACCESSDENIED),
                                                  L"You do not have permission", L"Store"}));

  object->set_vouches_for_error_info(false);
  EXPECT_EQ(FailureOf(object.Get()), (ErrorRecord{static_cast<std::int32_t>(E_ACCESSDENIED),
                                                  L"Access denied.", L"QuorvelImport"}));
  SetErrorInfo(0, nullptr);
}

TEST(InvokeErrors, ArgumentErrorsNameTheArgumentInCallOrder) {
  auto object = NewObject();
  UINT blamed = 0;
  object->On(kMember, [&blamed](const InvokeCall& call) {
    *call.argument_error = blamed;
    return DISP_E_TYPEMISMATCH;
  });
  com::Variant first = com::Variant::FromText(L"a");
  com::Variant second = com::Variant::FromLong(2);
  const VARIANT both[] = {first.get(), second.get()};

  blamed = 0;  // rgvarg[0] is the last argument of the call
  EXPECT_TRUE(FailureOf(object.Get(), kMember, both).description.ends_with(L" (argument 2)"));
  blamed = 1;
  const ErrorRecord first_blamed = FailureOf(object.Get(), kMember, both);
  EXPECT_EQ(first_blamed.number, static_cast<std::int32_t>(DISP_E_TYPEMISMATCH));
  EXPECT_TRUE(first_blamed.description.ends_with(L" (argument 1)")) << first_blamed.description;
  EXPECT_GT(first_blamed.description.size(), std::wstring(L" (argument 1)").size());

  object->On(kMember, [](const InvokeCall& call) {
    *call.argument_error = 0;
    return DISP_E_PARAMNOTFOUND;
  });
  EXPECT_TRUE(
      FailureOf(object.Get(), kMember, {&first.get(), 1}).description.ends_with(L" (argument 1)"));

  // Other failures carry no argument note even if the server set the index.
  object->On(kMember, [](const InvokeCall& call) {
    *call.argument_error = 0;
    return E_ABORT;
  });
  EXPECT_EQ(FailureOf(object.Get(), kMember, {&first.get(), 1}).description,
            FailureOf(object.Get()).description);
}

TEST(InvokeErrors, MissingObjectIsError91) {
  EXPECT_EQ(FailureOf(nullptr).number, 91);
  com::NamedMember name(L"Name");
  EXPECT_THROW(
      {
        try {
          name.IdOn(nullptr);
        } catch (const Error& error) {
          EXPECT_EQ(error.number(), 91);
          throw;
        }
      },
      Error);
}

TEST(InvokeErrors, ArgumentsArriveInCallOrderAndPutIsNamed) {
  auto object = NewObject();
  DISPID named = 0;
  UINT named_count = 0;
  object->On(kMember, [&](const InvokeCall& call) {
    named_count = call.parameters->cNamedArgs;
    named = named_count ? call.parameters->rgdispidNamedArgs[0] : 0;
    return S_OK;
  });
  com::Variant first = com::Variant::FromText(L"[Start]");
  com::Variant second = com::Variant::FromLong(7);
  const VARIANT both[] = {first.get(), second.get()};
  com::CallMethod(object.Get(), kMember, both);
  EXPECT_EQ(object->last_arguments(kMember), (std::vector<std::wstring>{L"[Start]", L"7"}));
  EXPECT_EQ(named_count, 0u);

  com::PutProperty(object.Get(), kMember, first.get());
  EXPECT_EQ(named_count, 1u);
  EXPECT_EQ(named, DISPID_PROPERTYPUT);
}

TEST(InvokeErrors, NamedMemberIsLookedUpOncePerObject) {
  auto object = NewObject();
  object->Name(L"Items", 12544);
  com::NamedMember items(L"Items");
  EXPECT_EQ(items.IdOn(object.Get()), 12544);
  EXPECT_EQ(items.IdOn(object.Get()), 12544);
  EXPECT_EQ(object->name_lookups(), 1);

  com::NamedMember unknown(L"Nonesuch");
  try {
    unknown.IdOn(object.Get());
    ADD_FAILURE() << "an unknown name was resolved";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), static_cast<std::int32_t>(DISP_E_UNKNOWNNAME));
  }
}

TEST(BusyServer, RefusedCallIsRetriedUntilAccepted) {
  auto object = NewObject();
  int refusals_left = 3;
  object->On(kMember, [&](const InvokeCall& call) {
    if (refusals_left-- > 0)
      return refusals_left % 2 ? RPC_E_CALL_REJECTED : RPC_E_SERVERCALL_RETRYLATER;
    call.result->vt = VT_I4;
    call.result->lVal = 42;
    return S_OK;
  });
  const com::Variant result = com::CallMethod(object.Get(), kMember);
  EXPECT_EQ(result.get().lVal, 42);
  EXPECT_EQ(object->invocations(kMember), 4);
}

TEST(BusyServer, RefusalOutlastingTheBudgetFails) {
  auto object = NewObject();
  object->On(kMember, [](const InvokeCall&) { return RPC_E_CALL_REJECTED; });
  const ULONGLONG started = GetTickCount64();
  const ErrorRecord failure = FailureOf(object.Get());
  const ULONGLONG waited = GetTickCount64() - started;
  EXPECT_EQ(failure.number, static_cast<std::int32_t>(RPC_E_CALL_REJECTED));
  EXPECT_GE(waited, com::kBusyRetryBudgetMs);
  EXPECT_LT(waited, com::kBusyRetryBudgetMs + 2000);

  // Ordinary failures are not retried.
  const int before = object->invocations(kMember);
  object->On(kMember, [](const InvokeCall&) { return E_ABORT; });
  FailureOf(object.Get());
  EXPECT_EQ(object->invocations(kMember), before + 1);
}

// On Windows COM asks the filter: it waits (COM retries at once below 100 ms) while a server
// asks to be called later and the budget lasts, and cancels a rejected call.
TEST(BusyServer, TheMessageFilterWaitsForALaterCallAndCancelsARejectedOne) {
  constexpr DWORD kCancel = static_cast<DWORD>(-1);
  struct Row {
    DWORD reject_type;
    DWORD elapsed_ms;
    DWORD answer;
  };
  const Row rows[] = {{SERVERCALL_RETRYLATER, 0, 100},
                      {SERVERCALL_RETRYLATER, com::kBusyRetryBudgetMs - 150, 100},
                      {SERVERCALL_RETRYLATER, com::kBusyRetryBudgetMs - 50, kCancel},
                      {SERVERCALL_REJECTED, 0, kCancel}};
  ComPtr<IMessageFilter> filter;
  *filter.GetAddressOf() = new com::RetryingMessageFilter();
  for (const Row& row : rows) {
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, row.elapsed_ms, row.reject_type), row.answer)
        << row.reject_type << " after " << row.elapsed_ms << " ms";
  }
}

TEST(Creation, UnknownProgIdGivesTheCreationStatus) {
  try {
    com::CreateObject(L"Quorvel.NoSuchThing.7");
    ADD_FAILURE() << "an unregistered ProgID was created";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), static_cast<std::int32_t>(CO_E_CLASSSTRING));
    EXPECT_LT(error.number(), 0);
    EXPECT_FALSE(error.record().description.empty());
    EXPECT_NE(error.record().description.back(), L'\n');
    EXPECT_EQ(error.record().source, L"QuorvelImport");
  }
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

// A leaked reference keeps a server's objects alive, and an in-process Outlook never lets go
// of its store.
ULONG ReferencesOf(IDispatch* object) {
  object->AddRef();
  return object->Release();
}

TEST(References, ObjectResultsAndFailuresLeakNothing) {
  auto parent = NewObject();
  auto child = NewObject();
  parent->On(kMember, [&child](const InvokeCall& call) {
    call.result->vt = VT_DISPATCH;
    call.result->pdispVal = child.Get();
    child->AddRef();
    return S_OK;
  });
  parent->On(kMember + 1, [](const InvokeCall& call) {
    return testing::RaiseException(call, E_ABORT, 0, L"Refused", L"Server");
  });
  parent->On(kMember + 2, [](const InvokeCall&) { return E_ACCESSDENIED; });
  parent->set_vouches_for_error_info(true);
  {
    auto held = com::ToObject(com::CallMethod(parent.Get(), kMember));
    EXPECT_EQ(held.Get(), static_cast<IDispatch*>(child.Get()));
    EXPECT_EQ(ReferencesOf(child.Get()), 2u);
  }
  EXPECT_EQ(ReferencesOf(child.Get()), 1u);
  EXPECT_THROW(com::CallMethod(parent.Get(), kMember + 1), Error);
  EXPECT_THROW(com::CallMethod(parent.Get(), kMember + 2), Error);
  EXPECT_EQ(ReferencesOf(parent.Get()), 1u);
}

}  // namespace
}  // namespace quorvel

#include "object/dispatch_object.h"

#include <new>
#include <string>

#include "common/error.h"
#include "object/outlook_ids.h"
#include "object/server_context.h"
#include "store/call_counts.h"

namespace standin {
namespace {

// Outlook fills both codes: wCode 4096 and the status in scode. (Automation says a server
// sets one of them; clients that read scode first, as most do, see the status.)
constexpr WORD kOutlookExceptionCode = 4096;

void FillException(EXCEPINFO* exception, const quorvel::ErrorRecord& error) {
  if (!exception) return;
  *exception = EXCEPINFO{};
  exception->wCode = kOutlookExceptionCode;
  exception->scode = error.number;
  exception->bstrDescription = Bstr(error.description).Release();
  exception->bstrSource = Bstr(error.source).Release();
}

}  // namespace

MemberTable::MemberTable(const char* className, std::vector<Member> members)
    : members_(std::move(members)) {
  const auto& common = DispatchObject::CommonMembers();
  members_.insert(members_.end(), common.begin(), common.end());
  auto& counts = CallCounts::Instance();
  for (const Member& m : members_) {
    std::string name = className;
    name += '.';
    for (const wchar_t* c = m.name; *c; ++c) name += static_cast<char>(*c);
    getCounters_.push_back(&counts.Slot(name));
    putCounters_.push_back(&counts.Slot(name + ".put"));
  }
}

const Member* MemberTable::ById(DISPID id) const {
  for (const Member& m : members_)
    if (m.id == id) return &m;
  return nullptr;
}

const Member* MemberTable::ByName(const wchar_t* name) const {
  for (const Member& m : members_)
    if (EqualsIgnoringCase(m.name, name)) return &m;
  return nullptr;
}

const VARIANT* Invocation::Argument(unsigned i) const {
  if (!params_) return nullptr;
  const unsigned positional = params_->cArgs - params_->cNamedArgs;
  if (i >= positional) return nullptr;
  return &params_->rgvarg[params_->cArgs - 1 - i];
}

const VARIANT* Invocation::PutValue() const {
  if (!params_ || params_->cArgs == 0) return nullptr;
  return &params_->rgvarg[0];
}

struct DispatchObject::Common {
  static HRESULT Application(DispatchObject&, Invocation& call) {
    SetDispatch(call.result(), NewApplication().Get());
    return S_OK;
  }
  static HRESULT Parent(DispatchObject& self, Invocation& call) {
    SetDispatch(call.result(), self.ParentObject().Get());
    return S_OK;
  }
  static HRESULT Class(DispatchObject& self, Invocation& call) {
    SetLong(call.result(), self.ObjectClass());
    return S_OK;
  }
};

const std::vector<Member>& DispatchObject::CommonMembers() {
  static const std::vector<Member> members = {
      {L"Application", dispid::kApplication, Common::Application},
      {L"Parent", dispid::kParent, Common::Parent},
      {L"Class", dispid::kClass, Common::Class}};
  return members;
}

DispatchObject::DispatchObject() {
  ServerContext::Instance().ObjectCreated();
}
DispatchObject::~DispatchObject() {
  ServerContext::Instance().ObjectDestroyed();
}

HRESULT DispatchObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || Implements(iid)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG DispatchObject::AddRef() {
  return ++references_;
}

ULONG DispatchObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  STANDIN_COUNT("GetIDsOfNames");
  ServerContext::Instance().PaceCall();
  if (!names || !ids || count == 0) return E_INVALIDARG;
  const Member* member = Members().ByName(names[0]);
  ids[0] = member ? member->id : DISPID_UNKNOWN;
  for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;  // no named arguments are known
  return member && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  ServerContext::Instance().PaceCall();
  const Member* member = Members().ById(id);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  Invocation call(flags, params, result);
  const Handler handler = call.IsPut() ? member->put : member->get;
  if (!handler) return DISP_E_MEMBERNOTFOUND;
  ++(call.IsPut() ? Members().PutCounter(*member) : Members().GetCounter(*member));
  if (result) VariantInit(result);
  if (argError) *argError = 0;
  try {
    return handler(*this, call);
  } catch (const quorvel::Error& error) {
    if (result) VariantClear(result);
    FillException(exception, error.record());
    return DISP_E_EXCEPTION;
  } catch (const std::bad_alloc&) {
    if (result) VariantClear(result);
    FillException(exception, {static_cast<std::int32_t>(E_OUTOFMEMORY), L"Out of memory.",
                              L"Microsoft Outlook"});
    return DISP_E_EXCEPTION;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

void RaiseOutlookError(std::int32_t number, const wchar_t* description) {
  throw quorvel::Error(number, description, L"Microsoft Outlook");
}

}  // namespace standin

#pragma once
// The hand-written IDispatch every object of the model shares: reference counting, and one
// table per class that maps names (case-insensitive, as automation clients expect) and
// dispatch ids to the member's handler; a failing member becomes DISP_E_EXCEPTION with
// Outlook's EXCEPINFO. No type library is involved.

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstdint>
#include <utility>
#include <vector>

#include "object/com_values.h"
#include "object/model_objects.h"

namespace standin {

class DispatchObject;
class Invocation;

// Runs one member on its object; throws quorvel::Error for a failure the caller sees through
// EXCEPINFO, or returns a failing HRESULT for a malformed call.
using Handler = HRESULT (*)(DispatchObject& self, Invocation& call);

struct Member {
  const wchar_t* name;
  DISPID id;
  Handler get;            // a read, or a method's call
  Handler put = nullptr;  // a write; none for a read-only property
};

// A class's members, Application, Parent and Class (which every object has) added, with
// their call counters ("Items.Count", "AppointmentItem.Subject.put") looked up once.
class MemberTable {
 public:
  MemberTable(const char* className, std::vector<Member> members);
  const Member* ById(DISPID id) const;
  const Member* ByName(const wchar_t* name) const;
  std::uint64_t& GetCounter(const Member& m) const { return *getCounters_[&m - members_.data()]; }
  std::uint64_t& PutCounter(const Member& m) const { return *putCounters_[&m - members_.data()]; }

 private:
  std::vector<Member> members_;
  std::vector<std::uint64_t*> getCounters_;
  std::vector<std::uint64_t*> putCounters_;
};

namespace detail {
template <class Method>
struct ClassOf;
template <class Object>
struct ClassOf<HRESULT (Object::*)(Invocation&)> {
  using Type = Object;
};
}  // namespace detail

// The handler of one member function, for a table: Bound<&Items::Count>.
template <auto Method>
HRESULT Bound(DispatchObject& self, Invocation& call) {
  using Object = typename detail::ClassOf<decltype(Method)>::Type;
  return (static_cast<Object&>(self).*Method)(call);
}

// One call as a member sees it.
class Invocation {
 public:
  Invocation(WORD flags, DISPPARAMS* params, VARIANT* result)
      : flags_(flags), params_(params), result_(result) {}
  bool IsPut() const { return (flags_ & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }
  unsigned ArgumentCount() const { return params_ ? params_->cArgs : 0; }
  // The i-th argument in the caller's order (automation passes them reversed), or null.
  const VARIANT* Argument(unsigned i) const;
  // The value of a property put: the named DISPID_PROPERTYPUT argument.
  const VARIANT* PutValue() const;
  VARIANT* result() const { return result_; }

 private:
  WORD flags_;
  DISPPARAMS* params_;
  VARIANT* result_;
};

class DispatchObject : public IDispatch {
 public:
  DispatchObject();
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

  // The members every object answers; a MemberTable adds them to its class's own.
  static const std::vector<Member>& CommonMembers();

 protected:
  virtual ~DispatchObject();
  virtual const MemberTable& Members() const = 0;
  // Outlook's OlObjectClass of this object; may throw quorvel::Error.
  virtual long ObjectClass() const = 0;
  virtual ComPtr<IDispatch> ParentObject() = 0;
  // The Outlook interface id this object stands for, if any.
  virtual bool Implements(REFIID) const { return false; }

 private:
  struct Common;
  std::atomic<ULONG> references_{1};
};

// A new object, handed out with its one reference (mingw-w64's ComPtr::Attach adds another).
template <class Object, class... Arguments>
ComPtr<IDispatch> MakeObject(Arguments&&... arguments) {
  ComPtr<IDispatch> object;
  *object.GetAddressOf() = new Object(std::forward<Arguments>(arguments)...);
  return object;
}

// Outlook's errors: the description and source a client sees in EXCEPINFO.
[[noreturn]] void RaiseOutlookError(std::int32_t number, const wchar_t* description);
inline constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057);
inline constexpr std::int32_t kDispException = static_cast<std::int32_t>(0x80020009);
inline constexpr std::int32_t kTooManyOpenItems = static_cast<std::int32_t>(0x8004011D);

}  // namespace standin

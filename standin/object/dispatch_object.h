#pragma once
// The hand-written IDispatch every object of the model shares: reference counting, names to
// dispatch ids (case-insensitive, as automation clients expect) and the translation of a
// failing member into DISP_E_EXCEPTION with its EXCEPINFO. No type library is involved.

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "object/com_values.h"

namespace standin {

struct Member {
  const wchar_t* name;
  DISPID id;
  bool writable = false;
};

// A class's members, with their call counters looked up once.
class MemberTable {
 public:
  MemberTable(const char* className, std::initializer_list<Member> members);
  const Member* ById(DISPID id) const;
  const Member* ByName(const wchar_t* name) const;
  std::uint64_t& GetCounter(const Member& m) const { return *getCounters_[&m - members_.data()]; }
  std::uint64_t& PutCounter(const Member& m) const { return *putCounters_[&m - members_.data()]; }

 private:
  std::vector<Member> members_;
  std::vector<std::uint64_t*> getCounters_;
  std::vector<std::uint64_t*> putCounters_;
};

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

 protected:
  virtual ~DispatchObject();
  virtual const MemberTable& Members() const = 0;
  // Runs a member found in the table; throws quorvel::Error for a failure the caller sees
  // through EXCEPINFO, or returns a failing HRESULT for a malformed call.
  virtual HRESULT Call(DISPID id, Invocation& call) = 0;
  // The Outlook interface id this object stands for, if any.
  virtual bool Implements(REFIID) const { return false; }

 private:
  std::atomic<ULONG> references_{1};
};

// Outlook's errors: the description and source a client sees in EXCEPINFO.
[[noreturn]] void RaiseOutlookError(std::int32_t number, const wchar_t* description);
inline constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057);
inline constexpr std::int32_t kDispException = static_cast<std::int32_t>(0x80020009);
inline constexpr std::int32_t kTooManyOpenItems = static_cast<std::int32_t>(0x8004011D);

}  // namespace standin

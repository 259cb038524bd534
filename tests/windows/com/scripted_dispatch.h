#pragma once
// A small automation object for tests: each member is a script that decides what Invoke
// answers, so every failure shape a server can produce can be produced on demand.

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quorvel::testing {

struct InvokeCall {
  WORD flags;
  DISPPARAMS* parameters;
  VARIANT* result;
  EXCEPINFO* exception;
  UINT* argument_error;
};

class ScriptedDispatch final : public IDispatch, public ISupportErrorInfo {
 public:
  using Script = std::function<HRESULT(const InvokeCall&)>;

  static ScriptedDispatch* Create() { return new ScriptedDispatch(); }

  void On(DISPID member, Script script) { scripts_[member] = std::move(script); }
  void Name(const std::wstring& name, DISPID member) { names_[name] = member; }
  // Whether ISupportErrorInfo vouches for IDispatch.
  void set_vouches_for_error_info(bool vouches) { vouches_ = vouches; }

  int invocations(DISPID member) const;
  int name_lookups() const { return name_lookups_; }
  // The arguments of the last call to `member`, in call order, as texts.
  std::vector<std::wstring> last_arguments(DISPID member) const;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument_error) override;
  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  ScriptedDispatch() = default;
  ~ScriptedDispatch() = default;

  ULONG references_ = 1;
  bool vouches_ = false;
  int name_lookups_ = 0;
  std::map<DISPID, Script> scripts_;
  std::map<std::wstring, DISPID> names_;
  std::map<DISPID, int> invocations_;
  std::map<DISPID, std::vector<std::wstring>> last_arguments_;
};

// Fills an EXCEPINFO as a server raising an exception does.
HRESULT RaiseException(const InvokeCall& call, SCODE scode, WORD code, const wchar_t* description,
                       const wchar_t* source);

// An enumerator over a fixed list of elements; `fail_at` makes Next fail at that index.
class ScriptedEnumerator final : public IEnumVARIANT {
 public:
  static ScriptedEnumerator* Create(std::vector<VARIANT> elements, HRESULT failure = S_OK,
                                    size_t fail_at = static_cast<size_t>(-1));

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* elements, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

 private:
  ScriptedEnumerator() = default;
  ~ScriptedEnumerator();

  ULONG references_ = 1;
  std::vector<VARIANT> elements_;
  size_t position_ = 0;
  HRESULT failure_ = S_OK;
  size_t fail_at_ = static_cast<size_t>(-1);
};

}  // namespace quorvel::testing

#include "object/class_factory.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <new>

#include "common/error.h"
#include "object/com_values.h"
#include "object/model_objects.h"
#include "object/server_context.h"

namespace standin {
namespace {

void PublishError(const quorvel::ErrorRecord& error) {
  Microsoft::WRL::ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(&create))) return;
  create->SetDescription(const_cast<LPOLESTR>(error.description.c_str()));
  create->SetSource(const_cast<LPOLESTR>(error.source.c_str()));
  Microsoft::WRL::ComPtr<IErrorInfo> info;
  if (SUCCEEDED(create.As(&info))) SetErrorInfo(0, info.Get());
}

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      ServerContext::Instance().EnsureSession();
      ComPtr<IDispatch> application = NewApplication();
      return application->QueryInterface(iid, out);
    } catch (const quorvel::Error& error) {
      PublishError(error.record());
      return static_cast<HRESULT>(error.number());
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_UNEXPECTED;
    }
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    ServerContext::Instance().Lock(lock != FALSE);
    return S_OK;
  }
};

}  // namespace

IClassFactory* ApplicationFactory() {
  static Factory factory;
  return &factory;
}

}  // namespace standin

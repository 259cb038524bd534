#include "object/dispatch_object.h"
#include "object/model_objects.h"
#include "object/outlook_ids.h"
#include "object/server_context.h"

namespace standin {
namespace {

class Application final : public DispatchObject {
 protected:
  const MemberTable& Members() const override {
    static const MemberTable table("Application", {{L"GetNamespace", dispid::kGetNamespace},
                                                   {L"ActiveExplorer", dispid::kActiveExplorer},
                                                   {L"Application", dispid::kApplication},
                                                   {L"Parent", dispid::kParent},
                                                   {L"Class", dispid::kClass}});
    return table;
  }

  HRESULT Call(DISPID id, Invocation& call) override {
    switch (id) {
      case dispid::kGetNamespace: {
        const VARIANT* type = call.Argument(0);
        if (!type) return DISP_E_BADPARAMCOUNT;
        const auto text = ArgumentText(*type);
        if (!text) return DISP_E_TYPEMISMATCH;
        if (const auto& fault = ServerContext::Instance().session().model().faults().nameSpace)
          throw quorvel::Error(*fault);
        if (!EqualsIgnoringCase(*text, L"MAPI"))
          RaiseOutlookError(kInvalidArgument,
                            L"Could not complete the operation. One or more parameter values "
                            L"are not valid.");
        SetDispatch(call.result(), NewNameSpace().Get());
        return S_OK;
      }
      case dispid::kActiveExplorer:
        // Nothing, as Outlook answers when it runs without a window.
        SetDispatch(call.result(),
                    ServerContext::Instance().ExplorerAvailable() ? NewExplorer().Get() : nullptr);
        return S_OK;
      case dispid::kApplication:
      case dispid::kParent:
        SetDispatch(call.result(), this);
        return S_OK;
      case dispid::kClass:
        SetLong(call.result(), object_class::kApplication);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  bool Implements(REFIID iid) const override { return iid == kIidApplication; }
};

}  // namespace

ComPtr<IDispatch> NewApplication() {
  ComPtr<IDispatch> object;
  *object.GetAddressOf() = new Application();  // mingw-w64's ComPtr::Attach adds a reference
  return object;
}

}  // namespace standin

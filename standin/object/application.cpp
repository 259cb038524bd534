#include "object/dispatch_object.h"
#include "object/model_objects.h"
#include "object/outlook_ids.h"
#include "object/server_context.h"

namespace standin {
namespace {

class Application final : public DispatchObject {
 protected:
  const MemberTable& Members() const override {
    static const MemberTable table(
        "Application",
        {{L"GetNamespace", dispid::kGetNamespace, Bound<&Application::GetNamespace>},
         {L"ActiveExplorer", dispid::kActiveExplorer, Bound<&Application::ActiveExplorer>}});
    return table;
  }
  long ObjectClass() const override { return object_class::kApplication; }
  ComPtr<IDispatch> ParentObject() override { return this; }
  bool Implements(REFIID iid) const override { return iid == kIidApplication; }

 private:
  HRESULT GetNamespace(Invocation& call) {
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

  HRESULT ActiveExplorer(Invocation& call) {
    // Nothing, as Outlook answers when it runs without a window.
    SetDispatch(call.result(),
                ServerContext::Instance().ExplorerAvailable() ? NewExplorer().Get() : nullptr);
    return S_OK;
  }
};

}  // namespace

ComPtr<IDispatch> NewApplication() {
  return MakeObject<Application>();
}

}  // namespace standin

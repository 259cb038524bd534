#include "object/dispatch_object.h"
#include "object/model_objects.h"
#include "object/outlook_ids.h"
#include "object/server_context.h"

namespace standin {
namespace {

class NameSpace final : public DispatchObject {
 protected:
  const MemberTable& Members() const override {
    static const MemberTable table("NameSpace", {{L"GetDefaultFolder", dispid::kGetDefaultFolder},
                                                 {L"Application", dispid::kApplication},
                                                 {L"Parent", dispid::kParent},
                                                 {L"Class", dispid::kClass}});
    return table;
  }

  HRESULT Call(DISPID id, Invocation& call) override {
    switch (id) {
      case dispid::kGetDefaultFolder: {
        const VARIANT* which = call.Argument(0);
        if (!which) return DISP_E_BADPARAMCOUNT;
        const auto folder = ArgumentLong(*which);
        if (!folder) return DISP_E_TYPEMISMATCH;
        if (const auto& fault = ServerContext::Instance().session().model().faults().defaultFolder)
          throw quorvel::Error(*fault);
        if (*folder != kFolderCalendar)
          RaiseOutlookError(kInvalidArgument,
                            L"Could not complete the operation. One or more parameter values "
                            L"are not valid.");
        SetDispatch(call.result(), NewFolder(FolderKind::Calendar).Get());
        return S_OK;
      }
      case dispid::kApplication:
      case dispid::kParent:
        SetDispatch(call.result(), NewApplication().Get());
        return S_OK;
      case dispid::kClass:
        SetLong(call.result(), object_class::kNameSpace);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  bool Implements(REFIID iid) const override { return iid == kIidNameSpace; }
};

}  // namespace

ComPtr<IDispatch> NewNameSpace() {
  ComPtr<IDispatch> object;
  *object.GetAddressOf() = new NameSpace();  // mingw-w64's ComPtr::Attach adds a reference
  return object;
}

}  // namespace standin

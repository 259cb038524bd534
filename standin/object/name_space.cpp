#include "object/dispatch_object.h"
#include "object/model_objects.h"
#include "object/outlook_ids.h"
#include "object/server_context.h"

namespace standin {
namespace {

class NameSpace final : public DispatchObject {
 protected:
  const MemberTable& Members() const override {
    static const MemberTable table("NameSpace", {{L"GetDefaultFolder", dispid::kGetDefaultFolder,
                                                  Bound<&NameSpace::GetDefaultFolder>}});
    return table;
  }
  long ObjectClass() const override { return object_class::kNameSpace; }
  ComPtr<IDispatch> ParentObject() override { return NewApplication(); }
  bool Implements(REFIID iid) const override { return iid == kIidNameSpace; }

 private:
  HRESULT GetDefaultFolder(Invocation& call) {
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
};

}  // namespace

ComPtr<IDispatch> NewNameSpace() {
  return MakeObject<NameSpace>();
}

}  // namespace standin

#include "object/dispatch_object.h"
#include "object/model_objects.h"
#include "object/outlook_ids.h"

namespace standin {
namespace {

class Explorer final : public DispatchObject {
 protected:
  const MemberTable& Members() const override {
    static const MemberTable table("Explorer", {{L"CurrentFolder", dispid::kCurrentFolder},
                                                {L"Application", dispid::kApplication},
                                                {L"Parent", dispid::kParent},
                                                {L"Class", dispid::kClass}});
    return table;
  }

  HRESULT Call(DISPID id, Invocation& call) override {
    switch (id) {
      case dispid::kCurrentFolder:
        SetDispatch(call.result(), NewFolder(FolderKind::Calendar).Get());
        return S_OK;
      case dispid::kApplication:
      case dispid::kParent:
        SetDispatch(call.result(), NewApplication().Get());
        return S_OK;
      case dispid::kClass:
        SetLong(call.result(), object_class::kExplorer);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  bool Implements(REFIID iid) const override { return iid == kIidExplorer; }
};

}  // namespace

ComPtr<IDispatch> NewExplorer() {
  ComPtr<IDispatch> object;
  *object.GetAddressOf() = new Explorer();  // mingw-w64's ComPtr::Attach adds a reference
  return object;
}

}  // namespace standin

#include "object/dispatch_object.h"
#include "object/model_objects.h"
#include "object/outlook_ids.h"

namespace standin {
namespace {

class Explorer final : public DispatchObject {
 protected:
  const MemberTable& Members() const override {
    static const MemberTable table(
        "Explorer", {{L"CurrentFolder", dispid::kCurrentFolder, Bound<&Explorer::CurrentFolder>}});
    return table;
  }
  long ObjectClass() const override { return object_class::kExplorer; }
  ComPtr<IDispatch> ParentObject() override { return NewApplication(); }
  bool Implements(REFIID iid) const override { return iid == kIidExplorer; }

 private:
  HRESULT CurrentFolder(Invocation& call) {
    SetDispatch(call.result(), NewFolder(FolderKind::Calendar).Get());
    return S_OK;
  }
};

}  // namespace

ComPtr<IDispatch> NewExplorer() {
  return MakeObject<Explorer>();
}

}  // namespace standin

#include <numeric>

#include "object/dispatch_object.h"
#include "object/model_objects.h"
#include "object/outlook_ids.h"
#include "object/server_context.h"

namespace standin {
namespace {

// The calendar and the mailbox folder above it; a folder's default value is its name.
class Folder final : public DispatchObject {
 public:
  explicit Folder(FolderKind kind) : kind_(kind) {}

 protected:
  const MemberTable& Members() const override {
    static const MemberTable table("Folder", {{L"Name", dispid::kName, Bound<&Folder::Name>},
                                              {L"Items", dispid::kItems, Bound<&Folder::Items>},
                                              {L"", DISPID_VALUE, Bound<&Folder::Name>}});
    return table;
  }
  long ObjectClass() const override { return object_class::kFolder; }
  ComPtr<IDispatch> ParentObject() override {
    return kind_ == FolderKind::Calendar ? NewFolder(FolderKind::Mailbox) : NewNameSpace();
  }
  bool Implements(REFIID iid) const override { return iid == kIidFolder; }

 private:
  HRESULT Name(Invocation& call) {
    const StoreModel& model = ServerContext::Instance().session().model();
    SetText(call.result(), kind_ == FolderKind::Calendar ? model.calendarName() : model.mailbox());
    return S_OK;
  }

  HRESULT Items(Invocation& call) {
    SetDispatch(call.result(), NewItems(kind_ == FolderKind::Calendar
                                            ? AllItems()
                                            : std::make_shared<const std::vector<std::uint32_t>>())
                                   .Get());
    return S_OK;
  }

  FolderKind kind_;
};

}  // namespace

ComPtr<IDispatch> NewFolder(FolderKind kind) {
  return MakeObject<Folder>(kind);
}

ItemOrder AllItems() {
  auto order = std::make_shared<std::vector<std::uint32_t>>(
      ServerContext::Instance().session().model().items().size());
  std::iota(order->begin(), order->end(), 0u);
  return order;
}

}  // namespace standin

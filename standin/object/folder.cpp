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
    static const MemberTable table("Folder", {{L"Name", dispid::kName},
                                              {L"Items", dispid::kItems},
                                              {L"", DISPID_VALUE},
                                              {L"Application", dispid::kApplication},
                                              {L"Parent", dispid::kParent},
                                              {L"Class", dispid::kClass}});
    return table;
  }

  HRESULT Call(DISPID id, Invocation& call) override {
    const StoreModel& model = ServerContext::Instance().session().model();
    switch (id) {
      case DISPID_VALUE:
      case dispid::kName:
        SetText(call.result(),
                kind_ == FolderKind::Calendar ? model.calendarName() : model.mailbox());
        return S_OK;
      case dispid::kItems:
        SetDispatch(call.result(),
                    NewItems(kind_ == FolderKind::Calendar
                                 ? AllItems()
                                 : std::make_shared<const std::vector<std::uint32_t>>())
                        .Get());
        return S_OK;
      case dispid::kApplication:
        SetDispatch(call.result(), NewApplication().Get());
        return S_OK;
      case dispid::kParent:
        SetDispatch(call.result(), kind_ == FolderKind::Calendar
                                       ? NewFolder(FolderKind::Mailbox).Get()
                                       : NewNameSpace().Get());
        return S_OK;
      case dispid::kClass:
        SetLong(call.result(), object_class::kFolder);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  bool Implements(REFIID iid) const override { return iid == kIidFolder; }

 private:
  FolderKind kind_;
};

}  // namespace

ComPtr<IDispatch> NewFolder(FolderKind kind) {
  ComPtr<IDispatch> object;
  *object.GetAddressOf() = new Folder(kind);  // mingw-w64's ComPtr::Attach adds a reference
  return object;
}

ItemOrder AllItems() {
  auto order = std::make_shared<std::vector<std::uint32_t>>(
      ServerContext::Instance().session().model().items().size());
  std::iota(order->begin(), order->end(), 0u);
  return order;
}

}  // namespace standin

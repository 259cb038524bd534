#include "outlook/com/com_items.h"

#include "common/com/conversions.h"
#include "common/com/dispatch.h"
#include "common/error.h"
#include "outlook/com/com_items_enumeration.h"
#include "outlook/com/dispatch_ids.h"

namespace quorvel::outlook::com {

using quorvel::com::Variant;

std::unique_ptr<ItemsEnumeration> ComItems::Enumerate() {
  // Collections answer their enumerator as a method or as a property, depending on the server.
  Variant enumerator =
      quorvel::com::Invoke(items_.Get(), DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
  IUnknown* unknown = nullptr;
  if (enumerator.type() == VT_UNKNOWN) {
    unknown = enumerator.get().punkVal;
  } else if (enumerator.type() == VT_DISPATCH) {
    unknown = enumerator.get().pdispVal;
  } else if (enumerator.type() != VT_EMPTY && enumerator.type() != VT_NULL) {
    throw TypeMismatch();
  }
  if (!unknown) throw ObjectNotSet();
  Microsoft::WRL::ComPtr<IEnumVARIANT> elements;
  if (FAILED(unknown->QueryInterface(IID_PPV_ARGS(&elements)))) throw TypeMismatch();
  return std::make_unique<ComItemsEnumeration>(std::move(elements));
}

std::shared_ptr<Items> ComItems::Restrict(const std::wstring& filter) {
  const Variant argument = Variant::FromText(filter);
  auto narrowed = quorvel::com::ToObject(
      quorvel::com::CallMethod(items_.Get(), kItemsRestrict, {&argument.get(), 1}));
  if (!narrowed) return nullptr;
  return std::make_shared<ComItems>(std::move(narrowed));
}

std::int32_t ComItems::Count() {
  return quorvel::com::ToLong(quorvel::com::GetProperty(items_.Get(), kItemsCount));
}

void ComItems::Sort(const std::wstring& property) {
  const Variant argument = Variant::FromText(property);
  quorvel::com::CallMethod(items_.Get(), kItemsSort, {&argument.get(), 1});
}

}  // namespace quorvel::outlook::com

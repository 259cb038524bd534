#include "outlook/com/com_folder.h"

#include "common/com/conversions.h"
#include "common/error.h"
#include "outlook/com/com_items.h"

namespace quorvel::outlook::com {

using quorvel::com::GetProperty;

std::wstring ComFolder::Name() {
  return quorvel::com::ToText(GetProperty(folder_.Get(), name_.IdOn(folder_.Get())));
}

// The parent is an object; its text is its default value, as a late-bound client reads it.
std::wstring ComFolder::ParentAsText() {
  auto parent = GetProperty(folder_.Get(), parent_.IdOn(folder_.Get()));
  if (parent.type() != VT_DISPATCH && parent.type() != VT_UNKNOWN) {
    return quorvel::com::ToText(parent);
  }
  const auto object = quorvel::com::ToObject(std::move(parent));
  if (!object) throw ObjectNotSet();
  return quorvel::com::ToText(GetProperty(object.Get(), DISPID_VALUE));
}

std::shared_ptr<outlook::Items> ComFolder::Items() {
  auto items = quorvel::com::ToObject(GetProperty(folder_.Get(), items_.IdOn(folder_.Get())));
  if (!items) return nullptr;
  return std::make_shared<ComItems>(std::move(items));
}

}  // namespace quorvel::outlook::com

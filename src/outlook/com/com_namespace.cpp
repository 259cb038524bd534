#include "outlook/com/com_namespace.h"

#include "common/com/conversions.h"
#include "common/com/dispatch.h"
#include "outlook/com/com_folder.h"
#include "outlook/com/dispatch_ids.h"

namespace quorvel::outlook::com {

std::shared_ptr<Folder> ComNamespace::GetDefaultFolder(std::int32_t folder_type) {
  const auto argument = quorvel::com::Variant::FromLong(folder_type);
  auto folder = quorvel::com::ToObject(
      quorvel::com::CallMethod(mapi_.Get(), kGetDefaultFolder, {&argument.get(), 1}));
  if (!folder) return nullptr;
  return std::make_shared<ComFolder>(std::move(folder));
}

}  // namespace quorvel::outlook::com

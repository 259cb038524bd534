#include "outlook/com/com_application.h"

#include "common/com/conversions.h"
#include "common/com/dispatch.h"
#include "outlook/com/com_explorer.h"
#include "outlook/com/com_namespace.h"
#include "outlook/com/dispatch_ids.h"

namespace quorvel::outlook::com {

std::shared_ptr<outlook::Namespace> ComApplication::GetNamespace(const std::wstring& type) {
  const auto argument = quorvel::com::Variant::FromText(type);
  auto mapi = quorvel::com::ToObject(
      quorvel::com::CallMethod(application_.Get(), kGetNamespace, {&argument.get(), 1}));
  if (!mapi) return nullptr;
  return std::make_shared<ComNamespace>(std::move(mapi));
}

std::shared_ptr<outlook::Explorer> ComApplication::ActiveExplorer() {
  auto explorer =
      quorvel::com::ToObject(quorvel::com::CallMethod(application_.Get(), kActiveExplorer));
  if (!explorer) return nullptr;
  return std::make_shared<ComExplorer>(std::move(explorer));
}

}  // namespace quorvel::outlook::com

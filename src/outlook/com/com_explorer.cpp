#include "outlook/com/com_explorer.h"

#include "common/com/conversions.h"
#include "common/com/dispatch.h"
#include "outlook/com/com_folder.h"
#include "outlook/com/dispatch_ids.h"

namespace quorvel::outlook::com {

std::shared_ptr<Folder> ComExplorer::CurrentFolder() {
  auto folder = quorvel::com::ToObject(quorvel::com::GetProperty(explorer_.Get(), kCurrentFolder));
  if (!folder) return nullptr;
  return std::make_shared<ComFolder>(std::move(folder));
}

}  // namespace quorvel::outlook::com

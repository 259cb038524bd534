#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include "common/com/dispatch.h"
#include "outlook/automation.h"

namespace quorvel::outlook::com {

// Its members are called by name, so each id is asked for once and kept with the folder.
class ComFolder final : public Folder {
 public:
  explicit ComFolder(Microsoft::WRL::ComPtr<IDispatch> folder) : folder_(std::move(folder)) {}

  std::wstring Name() override;
  std::wstring ParentAsText() override;
  std::shared_ptr<outlook::Items> Items() override;

 private:
  Microsoft::WRL::ComPtr<IDispatch> folder_;
  quorvel::com::NamedMember name_{L"Name"};
  quorvel::com::NamedMember parent_{L"Parent"};
  quorvel::com::NamedMember items_{L"Items"};
};

}  // namespace quorvel::outlook::com

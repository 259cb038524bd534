#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include "outlook/automation.h"

namespace quorvel::outlook::com {

class ComExplorer final : public Explorer {
 public:
  explicit ComExplorer(Microsoft::WRL::ComPtr<IDispatch> explorer)
      : explorer_(std::move(explorer)) {}

  std::shared_ptr<Folder> CurrentFolder() override;

 private:
  Microsoft::WRL::ComPtr<IDispatch> explorer_;
};

}  // namespace quorvel::outlook::com

#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include "outlook/automation.h"

namespace quorvel::outlook::com {

class ComApplication final : public Application {
 public:
  explicit ComApplication(Microsoft::WRL::ComPtr<IDispatch> application)
      : application_(std::move(application)) {}

  std::shared_ptr<outlook::Namespace> GetNamespace(const std::wstring& type) override;
  std::shared_ptr<outlook::Explorer> ActiveExplorer() override;

 private:
  Microsoft::WRL::ComPtr<IDispatch> application_;
};

}  // namespace quorvel::outlook::com

#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include "outlook/automation.h"

namespace quorvel::outlook::com {

class ComNamespace final : public Namespace {
 public:
  explicit ComNamespace(Microsoft::WRL::ComPtr<IDispatch> mapi) : mapi_(std::move(mapi)) {}

  std::shared_ptr<Folder> GetDefaultFolder(std::int32_t folder_type) override;

 private:
  Microsoft::WRL::ComPtr<IDispatch> mapi_;
};

}  // namespace quorvel::outlook::com

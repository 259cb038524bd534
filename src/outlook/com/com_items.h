#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include "outlook/automation.h"

namespace quorvel::outlook::com {

class ComItems final : public Items {
 public:
  explicit ComItems(Microsoft::WRL::ComPtr<IDispatch> items) : items_(std::move(items)) {}

  std::unique_ptr<ItemsEnumeration> Enumerate() override;
  std::shared_ptr<Items> Restrict(const std::wstring& filter) override;
  std::int32_t Count() override;
  void Sort(const std::wstring& property) override;

 private:
  Microsoft::WRL::ComPtr<IDispatch> items_;
};

}  // namespace quorvel::outlook::com

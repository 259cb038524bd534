#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include "outlook/automation.h"

namespace quorvel::outlook::com {

class ComItemsEnumeration final : public ItemsEnumeration {
 public:
  explicit ComItemsEnumeration(Microsoft::WRL::ComPtr<IEnumVARIANT> elements)
      : elements_(std::move(elements)) {}

  Advance Next(std::shared_ptr<AppointmentItem>& current, ErrorRecord& why) override;

 private:
  Microsoft::WRL::ComPtr<IEnumVARIANT> elements_;
};

}  // namespace quorvel::outlook::com

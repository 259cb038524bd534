#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include "common/com/dispatch.h"
#include "outlook/automation.h"

namespace quorvel::outlook::com {

class ComShell final : public Shell {
 public:
  explicit ComShell(Microsoft::WRL::ComPtr<IDispatch> shell) : shell_(std::move(shell)) {}

  // One argument only: with no window style and no wait flag the shell returns at once.
  void Run(const std::wstring& command) override;

 private:
  Microsoft::WRL::ComPtr<IDispatch> shell_;
  quorvel::com::NamedMember run_{L"Run"};
};

}  // namespace quorvel::outlook::com

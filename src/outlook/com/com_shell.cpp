#include "outlook/com/com_shell.h"

namespace quorvel::outlook::com {

void ComShell::Run(const std::wstring& command) {
  const auto argument = quorvel::com::Variant::FromText(command);
  quorvel::com::CallMethod(shell_.Get(), run_.IdOn(shell_.Get()), {&argument.get(), 1});
}

}  // namespace quorvel::outlook::com

#include "window/frm_import.h"

namespace quorvel {

void frmImport::FOUTAFHANDELING() {
  // Everything the box shows is taken before anything is shown.
  const std::int32_t number = currentError.number;
  const std::wstring description = currentError.description;
  const std::wstring source = currentError.source;

  const std::wstring message = L"Error " + strFoutContext + L"\n\nnr.: " + std::to_wstring(number) +
                               L"\nDescr: " + description + L"\nSource: " + source;
  p_.desktop.ShowMessage(message, kCritical, L"Quorvel import");
  p_.desktop.SetMousePointer(kDefaultPointer);
  strFoutContext.clear();
  currentError = {};
}

}  // namespace quorvel

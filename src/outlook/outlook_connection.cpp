#include "window/frm_import.h"

namespace quorvel {

void frmImport::OUTLOOKNMS() {
  // The connection, under the report route.
  try {
    objOutlook = p_.objects.CreateApplication(L"Outlook.Application");
    objNamespace = Need(objOutlook).GetNamespace(L"MAPI");
  } catch (...) {
    currentError = CurrentErrorOf(std::current_exception());
    strFoutContext = L"please start outlook";
    FOUTAFHANDELING();
    return;
  }

  // Does Outlook show its main window? Anything missing on the way counts as "no".
  try {
    auto explorer = Need(objOutlook).ActiveExplorer();
    auto folder = Need(explorer).CurrentFolder();
    static_cast<void>(Need(folder).Name());
  } catch (...) {
    // The launch route: no message; a failure here goes to the caller.
    auto shell = p_.objects.CreateShell(L"WScript.Shell");
    Need(shell).Run(L"Outlook.exe");
  }
}

}  // namespace quorvel

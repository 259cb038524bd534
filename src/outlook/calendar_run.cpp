#include "common/continue_rule.h"
#include "window/frm_import.h"

namespace quorvel {

inline constexpr wchar_t kFinishedCaption[] =
    L"IMPORT FINISHED, wait until the mousepointer is no longer showing a hourglass. "
    L"Quorvel might still be working.";

void frmImport::AGENDAS() {
  Continue(
      [&] { objAgenda = Need(objNamespace).GetDefaultFolder(outlook::kFolderCalendar); });  // 1
  Continue([&] { strAgendaOwner = Need(objAgenda).ParentAsText(); });                       // 2
  Continue([&] { ImportCalendar(); });                                                      // 3
  Continue([&] { p_.form.SetProgressCaption(kFinishedCaption); });                          // 4
  Continue([&] { p_.form.Refresh(); });                                                     // 5
}

}  // namespace quorvel

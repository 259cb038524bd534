#include "window/frm_import.h"

namespace quorvel {

void frmImport::cmdImport_Click() {
  // The regional format is read at every click, so a change between runs shows at once.
  varStartdatum = p_.formats.ShortDate(p_.form.PickerValue(Picker::kStart)) + L" 00:00 am";
  varEinddatum = p_.formats.ShortDate(p_.form.PickerValue(Picker::kEnd)) + L" 23:59 pm";

  // The values themselves decide, time of day included, not the texts above.
  const DateTime start = p_.form.PickerValue(Picker::kStart);
  const DateTime end = p_.form.PickerValue(Picker::kEnd);
  if (end < start) {
    p_.desktop.ShowMessage(
        L"The end date should be later then the start date. Please select other dates.", kCritical);
    return;
  }

  AGENDAS();
  p_.desktop.ShowMessage(L"Import finished           ", kInformation, L"Quorvel Import tool");
}

}  // namespace quorvel

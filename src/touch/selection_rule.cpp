#include "window/frm_import.h"

namespace quorvel {

// The busy status is read once per evaluation and the four boxes are read afresh every time,
// so a box changed during a run takes effect from the next appointment on. Only the value 1
// counts as checked: a grayed box chooses nothing.
bool frmImport::IsChosenAppointment(outlook::AppointmentItem& appointment) {
  const std::int32_t status = appointment.BusyStatus();
  const bool free = p_.form.CheckBoxValue(CheckBox::kFree) == kChecked;
  const bool out_of_office = p_.form.CheckBoxValue(CheckBox::kOutOfOffice) == kChecked;
  const bool busy = p_.form.CheckBoxValue(CheckBox::kBusy) == kChecked;
  const bool tentative = p_.form.CheckBoxValue(CheckBox::kTentative) == kChecked;
  return (status == outlook::kFree && free) || (status == outlook::kOutOfOffice && out_of_office) ||
         (status == outlook::kBusy && busy) || (status == outlook::kTentative && tentative);
}

}  // namespace quorvel

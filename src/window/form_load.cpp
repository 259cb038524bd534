#include "window/frm_import.h"

namespace quorvel {

inline constexpr int kEndDateOffsetDays = 5;

void frmImport::Form_Load() {
  // Topmost; the origin it also passes is where the window first shows.
  p_.desktop.SetWindowPos(p_.form.WindowHandle(), kHwndTopmost, 0, 0, 0, 0, kSwpNoSize);
  p_.form.SetPickerValue(Picker::kStart, p_.clock.Now());
  p_.form.SetPickerValue(Picker::kEnd, p_.clock.Now());
  OUTLOOKNMS();
}

void frmImport::DTPstartdatum_Change() {
  const DateTime start = p_.form.PickerValue(Picker::kStart);
  DateTime end = AddDays(start, kEndDateOffsetDays);
  // Past the last day a picker holds, the end stops at that day, keeping its time of day.
  if (end.year > kLatestPickerDate.year) {
    end = DateTime{kLatestPickerDate.year, kLatestPickerDate.month,
                   kLatestPickerDate.day,  start.hour,
                   start.minute,           start.second};
  }
  p_.form.SetPickerValue(Picker::kEnd, end);
}

}  // namespace quorvel

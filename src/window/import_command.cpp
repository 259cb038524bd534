#include "window/frm_import.h"

namespace quorvel {

namespace {

// The short date followed by the bound's time, as Outlook is to read it. A short date with a
// two-digit year is read back in the locale's century window, so a bound outside that window
// would filter another century: such a bound gets its year in full.
std::wstring RangeBound(RegionalFormats& formats, const DateTime& picked, const wchar_t* time) {
  std::wstring bound = formats.ShortDate(picked) + time;
  const std::optional<DateTime> read = formats.ReadDate(bound);
  if (read && read->year == picked.year && read->month == picked.month && read->day == picked.day) {
    return bound;
  }
  return formats.ShortDateWithFullYear(picked) + time;
}

}  // namespace

void frmImport::cmdImport_Click() {
  // The regional format is read at every click, so a change between runs shows at once.
  varStartdatum = RangeBound(p_.formats, p_.form.PickerValue(Picker::kStart), L" 00:00 am");
  varEinddatum = RangeBound(p_.formats, p_.form.PickerValue(Picker::kEnd), L" 23:59 pm");

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

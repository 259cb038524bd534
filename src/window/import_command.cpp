#include "window/frm_import.h"

namespace quorvel {

namespace {

struct RangeBoundText {
  std::wstring text;
  bool reads_as_picked;
};

// The bound as Outlook is to read it: a date followed by the bound's time. Outlook reads it
// in the user's locale, so each form is read back before it is trusted: a two-digit year is
// read in the locale's century window, and a year of another calendar (Thai Buddhist 2569) as
// a Gregorian one. The first form that reads back as the picked day is the bound; when none
// does, the full-year short date stands and the caller leaves the range out.
RangeBoundText RangeBound(RegionalFormats& formats, const DateTime& picked, const wchar_t* time) {
  auto reads_as_picked = [&](const std::wstring& text) {
    const std::optional<DateTime> read = formats.ReadDate(text);
    return read && read->year == picked.year && read->month == picked.month &&
           read->day == picked.day;
  };
  const std::wstring short_date = formats.ShortDate(picked) + time;
  if (reads_as_picked(short_date)) return {short_date, true};
  const std::wstring full_year = formats.ShortDateWithFullYear(picked) + time;
  if (reads_as_picked(full_year)) return {full_year, true};
  const std::wstring gregorian = IsoDate(picked) + time;
  if (reads_as_picked(gregorian)) return {gregorian, true};
  return {full_year, false};
}

}  // namespace

void frmImport::cmdImport_Click() {
  // The regional format is read at every click, so a change between runs shows at once.
  const RangeBoundText lower =
      RangeBound(p_.formats, p_.form.PickerValue(Picker::kStart), L" 00:00 am");
  varStartdatum = lower.text;
  const RangeBoundText upper =
      RangeBound(p_.formats, p_.form.PickerValue(Picker::kEnd), L" 23:59 pm");
  varEinddatum = upper.text;
  unreadable_bound_.reset();
  if (!lower.reads_as_picked)
    unreadable_bound_ = lower.text;
  else if (!upper.reads_as_picked)
    unreadable_bound_ = upper.text;

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

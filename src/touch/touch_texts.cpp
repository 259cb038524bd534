#include "touch/touch_texts.h"

namespace quorvel::touch {

std::wstring TouchedSubject(const std::wstring& subject) {
  return subject + L" ";
}

std::wstring RangeFilter(const std::wstring& lower_bound, const std::wstring& upper_bound) {
  return L"[Start] >= '" + lower_bound + L"' and [Start] < '" + upper_bound + L"'";
}

namespace {
std::wstring OwnerSubjectAndStart(const std::wstring& owner, const std::wstring& subject,
                                  const std::wstring& start_text) {
  return owner + L" : \n\n" + subject + L" \n\n" + start_text;
}
}  // namespace

std::wstring Pass1Progress(const std::wstring& owner, const std::wstring& subject,
                           const std::wstring& start_text) {
  return L"Looking for recurring events in calendar of " +
         OwnerSubjectAndStart(owner, subject, start_text);
}

std::wstring Pass2Progress(const std::wstring& owner, const std::wstring& subject,
                           const std::wstring& start_text) {
  return OwnerSubjectAndStart(owner, subject, start_text);
}

std::wstring CountDisplay(std::int32_t count) {
  return std::to_wstring(count);
}

std::wstring ItemsUnavailableMessage(const ErrorRecord& error) {
  return L"error " + std::to_wstring(error.number) + L" - " + error.description;
}

std::wstring ErrorLines(const ErrorRecord& error) {
  return L"nr.: " + std::to_wstring(error.number) + L"\nDescr: " + error.description +
         L"\nSource: " + error.source;
}

namespace {
// "1 appointment", "2 appointments".
std::wstring Counted(std::int64_t count, const wchar_t* noun) {
  return std::to_wstring(count) + L" " + noun + (count == 1 ? L"" : L"s");
}
}  // namespace

std::wstring AppointmentsNotSaved(std::int64_t appointments) {
  return Counted(appointments, L"appointment") + L" could not be saved.";
}

std::wstring SubjectsNotChanged(std::int64_t appointments) {
  return Counted(appointments, L"appointment") +
         L" could not be handed over: the subject could not be changed.";
}

std::wstring PassCutShort(bool recurring_pass, std::int64_t handled) {
  return std::wstring(recurring_pass ? L"The pass over the recurring appointments"
                                     : L"The pass over the date range") +
         L" stopped after " + Counted(handled, L"element") +
         L": the next one could not be fetched. The rest of that pass was not done.";
}

std::wstring RangeNotFiltered(bool counting) {
  return std::wstring(L"The appointments of the date range could not be ") +
         (counting ? L"counted" : L"found") + L", so none of them was handed over.";
}

std::wstring RangeUnreadable(const std::wstring& bound) {
  return L"The date range could not be written in a form Outlook reads: it would read \"" + bound +
         L"\" as another day, so none of the appointments of the range was handed over.";
}

std::wstring ElementsUnexaminable(std::int64_t elements) {
  return Counted(elements, L"element") +
         L" of the calendar could not be examined (the kind could not be read) and " +
         (elements == 1 ? L"was" : L"were") + L" left alone.";
}

}  // namespace quorvel::touch

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

std::wstring HandOverWarning(std::int32_t failed_appointments, const ErrorRecord& last_failure) {
  return L"Not all appointments could be handed over: " + std::to_wstring(failed_appointments) +
         L" could not be saved.\n\nnr.: " + std::to_wstring(last_failure.number) + L"\nDescr: " +
         last_failure.description + L"\nSource: " + last_failure.source;
}

}  // namespace quorvel::touch

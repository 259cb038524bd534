#pragma once
// Every text the touch passes show or send, built in one place so each is exact.

#include <cstdint>
#include <string>

#include "common/error.h"

namespace quorvel::touch {

inline constexpr wchar_t kProcessingCaption[] = L"Processing...";

// The touch itself: one blank appended, never trimmed or put in front.
std::wstring TouchedSubject(const std::wstring& subject);

std::wstring RangeFilter(const std::wstring& lower_bound, const std::wstring& upper_bound);

std::wstring Pass1Progress(const std::wstring& owner, const std::wstring& subject,
                           const std::wstring& start_text);
std::wstring Pass2Progress(const std::wstring& owner, const std::wstring& subject,
                           const std::wstring& start_text);

std::wstring CountDisplay(std::int32_t count);

// The box of a calendar whose items cannot be had.
std::wstring ItemsUnavailableMessage(const ErrorRecord& error);

// A failure in the error report's own form: number, description and source, a line each.
std::wstring ErrorLines(const ErrorRecord& error);

// The outcome box of a run that left work undone: its headline and one line per kind.
inline constexpr wchar_t kOutcomeHeadline[] = L"Not all of this import could be done.";
std::wstring AppointmentsNotSaved(std::int64_t appointments);
std::wstring SubjectsNotChanged(std::int64_t appointments);
std::wstring PassCutShort(bool recurring_pass, std::int64_t handled);
std::wstring RangeNotFiltered(bool counting);
std::wstring RangeUnreadable(const std::wstring& bound);
inline constexpr wchar_t kRangeNotSorted[] =
    L"The appointments of the date range could not be sorted, so they were handed over in "
    L"Outlook's own order.";
std::wstring ElementsUnexaminable(std::int64_t elements);

}  // namespace quorvel::touch

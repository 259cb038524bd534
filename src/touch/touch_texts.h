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

// The box that names the appointments that could not be handed over.
std::wstring HandOverWarning(std::int32_t failed_appointments, const ErrorRecord& last_failure);

}  // namespace quorvel::touch

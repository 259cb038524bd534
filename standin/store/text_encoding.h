#pragma once
// The store is UTF-8 on disk while COM speaks UTF-16; these convert between the two without
// the platform, so the store code stays portable. Invalid input becomes U+FFFD, never an error:
// a subject must survive a round trip even if an earlier writer mangled it.

#include <string>
#include <string_view>

namespace standin {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Windows' wchar_t is UTF-16; elsewhere these only serve the portable tests.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace standin

#pragma once
// Date pictures as the regional settings write them ("d-M-yy", "dd 'de' MMMM yyyy").

#include <string>

namespace quorvel {

// The same picture with every year field written in four digits; quoted text is kept as is.
std::wstring WithFullYear(const std::wstring& picture);

}  // namespace quorvel

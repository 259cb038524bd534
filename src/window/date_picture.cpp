#include "window/date_picture.h"

namespace quorvel {

std::wstring WithFullYear(const std::wstring& picture) {
  std::wstring out;
  bool quoted = false;
  for (std::size_t i = 0; i < picture.size();) {
    const wchar_t c = picture[i];
    if (c == L'\'') quoted = !quoted;  // '' inside quotes toggles twice: a literal quote
    if (quoted || c != L'y') {
      out += c;
      ++i;
      continue;
    }
    while (i < picture.size() && picture[i] == L'y') ++i;
    out += L"yyyy";
  }
  return out;
}

}  // namespace quorvel

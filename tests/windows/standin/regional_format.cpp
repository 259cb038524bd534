#include "regional_format.h"

namespace standin_test {
namespace {

constexpr wchar_t kInternational[] = L"Control Panel\\International";

std::optional<std::wstring> Read(const wchar_t* name) {
  wchar_t value[128];
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kInternational, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

void Write(const wchar_t* name, const std::optional<std::wstring>& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kInternational, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return;
  if (value)
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                   static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
  else
    RegDeleteValueW(key, name);
  RegCloseKey(key);
}

}  // namespace

RegionalFormat::RegionalFormat(const ShortDateFormat& format)
    : pattern_(Read(L"sShortDate")), order_(Read(L"iDate")), separator_(Read(L"sDate")) {
  Write(L"sShortDate", std::wstring(format.pattern));
  Write(L"iDate", std::wstring(format.order));
  Write(L"sDate", std::wstring(format.separator));
}

RegionalFormat::~RegionalFormat() {
  Write(L"sShortDate", pattern_);
  Write(L"iDate", order_);
  Write(L"sDate", separator_);
}

std::wstring FormatShortDate(const wchar_t* pattern, int year, int month, int day) {
  std::wstring out;
  for (std::wstring_view p = pattern; !p.empty();) {
    auto take = [&](std::wstring_view token, std::wstring text) {
      if (p.substr(0, token.size()) != token) return false;
      out += text;
      p.remove_prefix(token.size());
      return true;
    };
    const std::wstring twoMonth = (month < 10 ? L"0" : L"") + std::to_wstring(month);
    const std::wstring twoDay = (day < 10 ? L"0" : L"") + std::to_wstring(day);
    if (take(L"yyyy", std::to_wstring(year)) || take(L"MM", twoMonth) ||
        take(L"M", std::to_wstring(month)) || take(L"dd", twoDay) ||
        take(L"d", std::to_wstring(day)))
      continue;
    out += p.front();
    p.remove_prefix(1);
  }
  return out;
}

std::wstring CurrentShortDatePattern() {
  wchar_t pattern[80] = L"";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pattern, 80);
  return pattern;
}

}  // namespace standin_test

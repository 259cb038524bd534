#pragma once
// Who the stand-in is in the registry. Its own CLSID: it never claims Outlook's.

#include <windows.h>

namespace standin {

// {6A3C1F52-8D4B-4E5A-9C21-7F0B3D2E4A11}
inline constexpr CLSID kStandinClsid = {
    0x6A3C1F52, 0x8D4B, 0x4E5A, {0x9C, 0x21, 0x7F, 0x0B, 0x3D, 0x2E, 0x4A, 0x11}};
inline constexpr wchar_t kStandinClsidText[] = L"{6A3C1F52-8D4B-4E5A-9C21-7F0B3D2E4A11}";
inline constexpr wchar_t kProgId[] = L"Outlook.Application";
inline constexpr wchar_t kVersionedProgId[] = L"Outlook.Application.16";

}  // namespace standin

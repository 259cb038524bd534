#pragma once
// Outlook's published dispatch ids for the members called early-bound.

#include <windows.h>
#include <oaidl.h>

namespace quorvel::outlook::com {

inline constexpr DISPID kGetNamespace = 0x110;
inline constexpr DISPID kActiveExplorer = 0x111;
inline constexpr DISPID kGetDefaultFolder = 0x210B;
inline constexpr DISPID kCurrentFolder = 0x2101;
inline constexpr DISPID kClass = 0xF00A;
inline constexpr DISPID kItemsCount = 80;
inline constexpr DISPID kItemsSort = 97;
inline constexpr DISPID kItemsRestrict = 100;
inline constexpr DISPID kSubject = 0x37;
inline constexpr DISPID kStart = 0x820D;
inline constexpr DISPID kBusyStatus = 0x8205;
inline constexpr DISPID kRecurrenceState = 0xF545;
inline constexpr DISPID kSave = 0xF048;
inline constexpr DISPID kEntryID = 0xF01E;

inline constexpr long kClassAppointment = 26;  // olAppointment

}  // namespace quorvel::outlook::com

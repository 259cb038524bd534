#pragma once
// Outlook's published interface ids and dispatch ids, which the stand-in answers at.

#include <windows.h>

namespace standin {

// {000630xx-0000-0000-C000-000000000046}
constexpr GUID OutlookIid(unsigned long data1) {
  return {data1, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
}
inline constexpr GUID kIidApplication = OutlookIid(0x00063001);
inline constexpr GUID kIidNameSpace = OutlookIid(0x00063002);
inline constexpr GUID kIidExplorer = OutlookIid(0x00063003);
inline constexpr GUID kIidFolder = OutlookIid(0x00063006);
inline constexpr GUID kIidItems = OutlookIid(0x00063041);
inline constexpr GUID kIidAppointmentItem = OutlookIid(0x00063033);
inline constexpr GUID kIidMeetingItem = OutlookIid(0x00063062);

namespace dispid {
inline constexpr DISPID kGetNamespace = 272;
inline constexpr DISPID kActiveExplorer = 273;
inline constexpr DISPID kGetDefaultFolder = 8459;
inline constexpr DISPID kCurrentFolder = 8449;
inline constexpr DISPID kName = 12289;
inline constexpr DISPID kItems = 12544;
inline constexpr DISPID kCount = 80;
inline constexpr DISPID kItem = 81;
inline constexpr DISPID kSort = 97;
inline constexpr DISPID kRestrict = 100;
inline constexpr DISPID kSubject = 55;
inline constexpr DISPID kStart = 33293;
inline constexpr DISPID kBusyStatus = 33285;
inline constexpr DISPID kRecurrenceState = 62789;
inline constexpr DISPID kSave = 61512;
inline constexpr DISPID kMessageClass = 26;
inline constexpr DISPID kEntryId = 61470;
inline constexpr DISPID kApplication = 61440;
inline constexpr DISPID kParent = 61441;
inline constexpr DISPID kClass = 61450;
}  // namespace dispid

// OlObjectClass values.
namespace object_class {
inline constexpr long kApplication = 0;
inline constexpr long kNameSpace = 1;
inline constexpr long kFolder = 2;
inline constexpr long kItems = 16;
inline constexpr long kExplorer = 34;
}  // namespace object_class

inline constexpr long kFolderCalendar = 9;

}  // namespace standin

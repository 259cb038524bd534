#pragma once
// What the window's code asks of its controls and of the desktop around it. The Win32
// adapters implement these; the unit tests use fakes.

#include <cstdint>
#include <optional>
#include <string>

#include "common/date_time.h"

namespace quorvel {

enum class Picker { kStart, kEnd };  // DTPstartdatum, DTPeinddatum
enum class CheckBox { kFree, kTentative, kBusy, kOutOfOffice };

// Check-box values as the program compares them: only kChecked counts.
enum CheckBoxValue : int { kUnchecked = 0, kChecked = 1, kGrayed = 2 };

using NativeHandle = std::intptr_t;

class FormControls {
 public:
  virtual ~FormControls() = default;
  virtual DateTime PickerValue(Picker picker) = 0;
  virtual void SetPickerValue(Picker picker, const DateTime& value) = 0;
  virtual int CheckBoxValue(CheckBox box) = 0;
  virtual void SetText1(const std::wstring& text) = 0;
  virtual void SetProgressCaption(const std::wstring& caption) = 0;  // voortgang
  // Paints what changed, at once, without handling user input.
  virtual void Refresh() = 0;
  virtual NativeHandle WindowHandle() = 0;
};

// Message-box styles the program uses.
enum MessageStyle : unsigned {
  kOkOnly = 0,
  kCritical = 16,
  kExclamation = 48,
  kInformation = 64,
};

enum MousePointer : int { kDefaultPointer = 0, kHourglassPointer = 11 };

class Desktop {
 public:
  virtual ~Desktop() = default;
  // Modal; returns when the user closed the box. No title shows the application title.
  virtual void ShowMessage(const std::wstring& text, unsigned style,
                           const std::optional<std::wstring>& title = std::nullopt) = 0;
  virtual void SetMousePointer(int pointer) = 0;
  // user32 SetWindowPos as it stands; the result is handed back for whoever wants it.
  virtual bool SetWindowPos(NativeHandle window, NativeHandle insert_after, int x, int y, int cx,
                            int cy, unsigned flags) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() = 0;  // local time, to the second
};

// The user's regional settings as they are at the moment of the call.
class RegionalFormats {
 public:
  virtual ~RegionalFormats() = default;
  virtual std::wstring ShortDate(const DateTime& value) = 0;
  // Short date, a blank and the long time; a value at midnight as the date alone.
  virtual std::wstring GeneralDate(const DateTime& value) = 0;
  // The short date as set, but with the year in four digits.
  virtual std::wstring ShortDateWithFullYear(const DateTime& value) = 0;
  // What the user's locale reads in a text, by the automation date parser Outlook's filters
  // are read with; none when it reads no date at all.
  virtual std::optional<DateTime> ReadDate(const std::wstring& text) = 0;
};

inline constexpr NativeHandle kHwndTopmost = -1;
inline constexpr unsigned kSwpNoSize = 0x0001;

}  // namespace quorvel

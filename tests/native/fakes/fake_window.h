#pragma once
// The window's controls and the desktop around it, in memory. Shares the call log with the
// fake Outlook so tests can check the order of everything a run does.

#include <cwctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_outlook.h"
#include "window/date_picture.h"
#include "window/form_ports.h"
#include "window/frm_import.h"

namespace quorvel::fakes {

struct ShownMessage {
  std::wstring text;
  unsigned style;
  std::optional<std::wstring> title;
};

class FakeWindow final : public FormControls, public Desktop, public Clock, public RegionalFormats {
 public:
  explicit FakeWindow(CallLog& log) : log_(log) {}

  // Controls.
  std::map<Picker, DateTime> pickers{{Picker::kStart, {}}, {Picker::kEnd, {}}};
  std::map<CheckBox, int> boxes{{CheckBox::kFree, kChecked},
                                {CheckBox::kTentative, kChecked},
                                {CheckBox::kBusy, kChecked},
                                {CheckBox::kOutOfOffice, kChecked}};
  std::wstring text1 = L"-";
  std::wstring progress;
  std::vector<std::wstring> progress_history;
  int refreshes = 0;

  // Desktop.
  std::vector<ShownMessage> messages;
  std::vector<int> pointers;
  struct Placement {
    NativeHandle window, insert_after;
    int x, y, cx, cy;
    unsigned flags;
  };
  std::vector<Placement> placements;

  // Clock and regional settings.
  std::vector<DateTime> clock_readings{{2026, 12, 8, 14, 5, 30}};
  std::wstring short_date_pattern = L"d-M-yyyy";
  int two_digit_years_from = 1950;  // the century window two-digit years are read in
  int calendar_year_offset = 0;     // years as the locale's calendar writes them: 543 Thai Buddhist
  int latest_year_read = 9999;      // the date reader takes no text of a later year; 0: none

  DateTime PickerValue(Picker picker) override {
    log_.Enter(picker == Picker::kStart ? L"Form.DTPstartdatum" : L"Form.DTPeinddatum");
    return pickers.at(picker);
  }
  void SetPickerValue(Picker picker, const DateTime& value) override {
    log_.Enter(picker == Picker::kStart ? L"Form.DTPstartdatum=" : L"Form.DTPeinddatum=");
    pickers[picker] = value;
  }
  int CheckBoxValue(CheckBox box) override {
    log_.Enter(L"Form.CheckBox");
    return boxes.at(box);
  }
  void SetText1(const std::wstring& text) override {
    log_.Enter(L"Form.Text1=" + text);
    text1 = text;
  }
  void SetProgressCaption(const std::wstring& caption) override {
    log_.Enter(L"Form.voortgang=" + caption);
    progress = caption;
    progress_history.push_back(caption);
  }
  void Refresh() override {
    log_.Enter(L"Form.Refresh");
    ++refreshes;
  }
  NativeHandle WindowHandle() override {
    log_.Enter(L"Form.hWnd");
    return kHandle;
  }

  void ShowMessage(const std::wstring& text, unsigned style,
                   const std::optional<std::wstring>& title) override {
    log_.Enter(L"MsgBox");
    messages.push_back({text, style, title});
  }
  void SetMousePointer(int pointer) override {
    log_.Enter(L"MousePointer=" + std::to_wstring(pointer));
    pointers.push_back(pointer);
  }
  bool SetWindowPos(NativeHandle window, NativeHandle insert_after, int x, int y, int cx, int cy,
                    unsigned flags) override {
    log_.Enter(L"SetWindowPos");
    placements.push_back({window, insert_after, x, y, cx, cy, flags});
    return true;
  }

  DateTime Now() override {
    log_.Enter(L"Clock.Now");
    const DateTime now = clock_readings.front();
    if (clock_readings.size() > 1) clock_readings.erase(clock_readings.begin());
    return now;
  }

  std::wstring ShortDate(const DateTime& value) override {
    log_.Enter(L"Formats.ShortDate");
    return Formatted(InLocaleCalendar(value), short_date_pattern);
  }
  std::wstring ShortDateWithFullYear(const DateTime& value) override {
    log_.Enter(L"Formats.ShortDateWithFullYear");
    return Formatted(InLocaleCalendar(value), WithFullYear(short_date_pattern));
  }
  // Reads the numbers of the text in the pattern's order of day, month and year, or year first
  // when the first has four digits, as the automation parser reads yyyy-MM-dd in any locale.
  // Its years are Gregorian ones, whatever calendar the locale writes in. A picture without a
  // day ("MM-yyyy") is read as the first of its month, as the automation parser reads "12-2026".
  std::optional<DateTime> ReadDate(const std::wstring& text) override {
    log_.Enter(L"Formats.ReadDate");
    std::vector<std::wstring> numbers;
    for (std::size_t i = 0; i < text.size();) {
      if (!std::iswdigit(text[i])) {
        ++i;
        continue;
      }
      std::size_t end = i;
      while (end < text.size() && std::iswdigit(text[end])) ++end;
      numbers.push_back(text.substr(i, end - i));
      i = end;
    }
    std::wstring order;
    for (wchar_t c : short_date_pattern)
      if ((c == L'd' || c == L'M' || c == L'y') && order.find(c) == std::wstring::npos) order += c;
    std::size_t fields = order.find(L'd') == std::wstring::npos ? 2 : 3;
    if (fields == 2) order += L'd';
    if (!numbers.empty() && numbers[0].size() == 4) {
      order = L"yMd";
      fields = 3;
    }
    if (numbers.size() < fields || order.size() != 3) return std::nullopt;
    DateTime read{0, 0, 1, 0, 0, 0};
    for (std::size_t f = 0; f < fields; ++f) {
      const int n = std::stoi(numbers[f]);
      if (order[f] == L'd') read.day = n;
      if (order[f] == L'M') read.month = n;
      if (order[f] == L'y') {
        read.year = n;
        if (numbers[f].size() <= 2)
          read.year = two_digit_years_from + (n - two_digit_years_from % 100 + 100) % 100;
      }
    }
    if (read.year > latest_year_read) return std::nullopt;
    return read;
  }

  // A small pattern formatter: d, dd, M, MM, yy, yyyy and literal separators.
  static std::wstring Formatted(const DateTime& value, const std::wstring& p) {
    std::wstring out;
    for (std::size_t i = 0; i < p.size();) {
      std::size_t run = 1;
      while (i + run < p.size() && p[i + run] == p[i]) ++run;
      const wchar_t c = p[i];
      if (c == L'd' || c == L'M' || c == L'y') {
        int number = c == L'd' ? value.day : c == L'M' ? value.month : value.year;
        if (c == L'y' && run == 2) number %= 100;
        std::wstring digits = std::to_wstring(number);
        const std::size_t width = c == L'y' ? run : (run >= 2 ? 2 : 1);
        if (digits.size() < width) digits.insert(0, width - digits.size(), L'0');
        out += digits;
      } else {
        out.append(run, c);
      }
      i += run;
    }
    return out;
  }
  std::wstring GeneralDate(const DateTime& value) override {
    std::wstring date = ShortDate(value);
    if (value.IsMidnight()) return date;
    wchar_t time[16];
    std::swprintf(time, 16, L"%02d:%02d:%02d", value.hour, value.minute, value.second);
    return date + L" " + time;
  }

  static constexpr NativeHandle kHandle = 0x1234;

 private:
  DateTime InLocaleCalendar(DateTime value) const {
    value.year += calendar_year_offset;
    return value;
  }

  CallLog& log_;
};

// One window with its fakes, ready to drive.
struct TestBench {
  CallLog log;
  FakeOutlook outlook{log};
  FakeWindow window{log};
  frmImport form{Platform{window, window, window, window, outlook.factory()}};

  // Calls made since the last Mark(), for order checks.
  std::vector<std::wstring> CallsSinceMark() const {
    return {log.calls.begin() + static_cast<std::ptrdiff_t>(mark_), log.calls.end()};
  }
  void Mark() { mark_ = log.calls.size(); }

 private:
  std::size_t mark_ = 0;
};

}  // namespace quorvel::fakes

namespace quorvel {
// Reaches the window's private procedures from the tests.
class FormTestAccess {
 public:
  static void OUTLOOKNMS(frmImport& form) { form.OUTLOOKNMS(); }
  static void AGENDAS(frmImport& form) { form.AGENDAS(); }
  static void FOUTAFHANDELING(frmImport& form) { form.FOUTAFHANDELING(); }
  static void ImportCalendar(frmImport& form) { form.ImportCalendar(); }
  static bool IsChosenAppointment(frmImport& form, outlook::AppointmentItem& item) {
    return form.IsChosenAppointment(item);
  }
};
}  // namespace quorvel

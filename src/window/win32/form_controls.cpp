#include "window/win32/form_controls.h"

#include <commctrl.h>

#include "window/win32/system_failure.h"
#include "window/win32/system_time.h"

namespace quorvel::win32 {

namespace {

const wchar_t* CheckBoxName(CheckBox box) {
  switch (box) {
    case CheckBox::kFree:
      return L"ChkFree";
    case CheckBox::kTentative:
      return L"ChkTentative";
    case CheckBox::kBusy:
      return L"ChkBusy";
    case CheckBox::kOutOfOffice:
      return L"ChkOOF";
  }
  return L"";
}

void SetText(HWND control, const std::wstring& text) {
  ClearLastError();
  if (!SetWindowTextW(control, text.c_str())) throw SystemFailure(L"SetWindowText");
}

}  // namespace

HWND FormControls::PickerControl(Picker picker) const {
  return window_.Control(picker == Picker::kStart ? L"DTPstartdatum" : L"DTPeinddatum");
}

DateTime FormControls::PickerValue(Picker picker) {
  SYSTEMTIME value{};
  if (SendMessageW(PickerControl(picker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)) !=
      GDT_VALID) {
    throw Error(380, L"Invalid property value");
  }
  return FromSystemTime(value);
}

void FormControls::SetPickerValue(Picker picker, const DateTime& value) {
  if (!IsValid(value)) throw Error(380, L"Invalid property value");
  SYSTEMTIME time = ToSystemTime(value);
  // A value the program sets is not a change by the user.
  if (picker == Picker::kStart) window_.RememberStartValue(time);
  if (!SendMessageW(PickerControl(picker), DTM_SETSYSTEMTIME, GDT_VALID,
                    reinterpret_cast<LPARAM>(&time))) {
    throw Error(380, L"Invalid property value");
  }
}

int FormControls::CheckBoxValue(CheckBox box) {
  switch (SendMessageW(window_.Control(CheckBoxName(box)), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
      return kChecked;
    case BST_INDETERMINATE:
      return kGrayed;
    default:
      return kUnchecked;
  }
}

void FormControls::SetText1(const std::wstring& text) {
  SetText(window_.Control(L"Text1"), text);
}

void FormControls::SetProgressCaption(const std::wstring& caption) {
  SetText(window_.Control(L"voortgang"), caption);
}

void FormControls::Refresh() {
  RedrawWindow(window_.handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

NativeHandle FormControls::WindowHandle() {
  return reinterpret_cast<NativeHandle>(window_.handle());
}

}  // namespace quorvel::win32

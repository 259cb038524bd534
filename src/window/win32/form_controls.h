#pragma once
// The window's controls as the program's code sees them.

#include "window/form_ports.h"
#include "window/win32/import_window.h"

namespace quorvel::win32 {

class FormControls final : public quorvel::FormControls {
 public:
  explicit FormControls(ImportWindow& window) : window_(window) {}

  DateTime PickerValue(Picker picker) override;
  void SetPickerValue(Picker picker, const DateTime& value) override;
  int CheckBoxValue(CheckBox box) override;
  void SetText1(const std::wstring& text) override;
  void SetProgressCaption(const std::wstring& caption) override;
  void Refresh() override;
  NativeHandle WindowHandle() override;

 private:
  HWND PickerControl(Picker picker) const;
  ImportWindow& window_;
};

}  // namespace quorvel::win32

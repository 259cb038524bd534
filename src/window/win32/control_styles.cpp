#include "window/win32/control_styles.h"

#include <commctrl.h>

namespace quorvel::win32 {

namespace {

constexpr int kOneLineLabelHeight = 255;  // twips

ControlStyle KindStyle(layout::Kind kind) {
  using layout::Kind;
  switch (kind) {
    case Kind::kFrame:
      return {WC_BUTTONW, BS_GROUPBOX, 0};
    case Kind::kCommandButton:
      return {WC_BUTTONW, BS_PUSHBUTTON, 0};
    case Kind::kLabel:
      // SS_EDITCONTROL wraps like an edit box and cuts the last partly visible line.
      return {WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, 0};
    case Kind::kTextBox:
      return {WC_EDITW, ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::kPictureBox:
      // Centred at its own size and never resized to the icon: the table's rectangle holds.
      return {WC_STATICW, SS_ICON | SS_CENTERIMAGE, 0};
    case Kind::kDatePicker:
      return {DATETIMEPICK_CLASSW, DTS_SHORTDATEFORMAT, 0};
    case Kind::kCheckBox:
      return {WC_BUTTONW, BS_AUTOCHECKBOX, 0};
  }
  return {WC_STATICW, 0, 0};
}

}  // namespace

ControlStyle StyleFor(const layout::Control& control,
                      const std::optional<layout::Control>& previous) {
  ControlStyle style = KindStyle(control.kind);
  // A caption one line tall shows as much of its text as fits rather than its first word.
  if (control.kind == layout::Kind::kLabel && control.rect.height <= kOneLineLabelHeight) {
    style.style = (style.style & ~(SS_TYPEMASK | SS_EDITCONTROL)) | SS_LEFTNOWORDWRAP;
  }
  style.style |= WS_CHILD | WS_VISIBLE;
  if (layout::TakesFocus(control.kind)) style.style |= WS_TABSTOP;
  const bool continues_group = control.kind == layout::Kind::kCheckBox && previous &&
                               previous->kind == layout::Kind::kCheckBox;
  if (!continues_group) style.style |= WS_GROUP;
  return style;
}

}  // namespace quorvel::win32

#pragma once
// The window's look as data: every control with its kind, container, caption, geometry in
// twips and tab index. The Win32 window is built from this table alone.

#include <array>
#include <optional>
#include <string_view>

namespace quorvel::layout {

inline constexpr int kTwipsPerPixelAt96Dpi = 15;

enum class Kind { kFrame, kCommandButton, kLabel, kTextBox, kPictureBox, kDatePicker, kCheckBox };

// Which of the program's icons a picture box shows.
enum class Icon { kNone, kWindowIcon, kFivePictureIcon };

struct Rect {
  int left, top, width, height;  // twips, from the inside top-left of the container
  constexpr int right() const { return left + width; }
  constexpr int bottom() const { return top + height; }
};

struct Control {
  std::wstring_view name;
  Kind kind;
  std::wstring_view container;  // empty: the window's client area
  std::wstring_view caption;
  Rect rect;
  int tab_index;
  Icon icon = Icon::kNone;
};

inline constexpr std::wstring_view kWindowName = L"frmImport";
inline constexpr std::wstring_view kWindowCaption = L"Import existing appointments";
inline constexpr int kClientWidth = 4380;   // twips
inline constexpr int kClientHeight = 6480;  // twips

// In ascending tab index, which is also the order of creation.
inline constexpr std::array<Control, 17> kControls{{
    {L"Frame1", Kind::kFrame, L"", L"Quillmere Quorvel import", {15, 0, 4335, 5655}, 0},
    {L"cmdImport", Kind::kCommandButton, L"Frame1", L"Start import", {1200, 360, 1695, 495}, 1},
    {L"Label1", Kind::kLabel, L"", L"", {120, 6000, 4095, 255}, 2},
    {L"voortgang", Kind::kLabel, L"Frame1", L"", {240, 3480, 3735, 1335}, 3},
    {L"Text1", Kind::kTextBox, L"Frame1", L"-", {960, 5040, 855, 285}, 4},
    {L"Picture2",
     Kind::kPictureBox,
     L"Frame1",
     L"",
     {120, 360, 495, 495},
     5,
     Icon::kFivePictureIcon},
    {L"Picture3", Kind::kPictureBox, L"Frame1", L"", {120, 4920, 495, 615}, 6, Icon::kWindowIcon},
    {L"DTPstartdatum", Kind::kDatePicker, L"Frame1", L"", {360, 1560, 1575, 375}, 7},
    {L"DTPeinddatum", Kind::kDatePicker, L"Frame1", L"", {2160, 1560, 1575, 375}, 8},
    {L"Label2", Kind::kLabel, L"Frame1", L"To:", {2160, 1080, 1455, 375}, 9},
    {L"Label3", Kind::kLabel, L"Frame1", L"From:", {360, 1080, 1455, 375}, 10},
    {L"Label4", Kind::kLabel, L"Frame1", L"Appointments processed", {1920, 5070, 1815, 255}, 11},
    {L"Frame2", Kind::kFrame, L"Frame1", L"Import only:", {120, 2040, 3975, 1335}, 12},
    {L"ChkBusy", Kind::kCheckBox, L"Frame2", L"Items of type Busy", {120, 480, 3255, 255}, 13},
    {L"ChkFree", Kind::kCheckBox, L"Frame2", L"Items of type Free", {120, 240, 3255, 255}, 14},
    {L"ChkOOF",
     Kind::kCheckBox,
     L"Frame2",
     L"Items of type Out of Office",
     {120, 720, 3255, 255},
     15},
    {L"ChkTentative",
     Kind::kCheckBox,
     L"Frame2",
     L"Items of type Tentative",
     {120, 960, 3255, 255},
     16},
}};

// The labels that name a control, each with the control it names. A screen reader names a
// control without a caption of its own after the nearest static text before it in z-order, and
// stops looking at a control that starts a group and takes the focus.
struct Label {
  std::wstring_view label;
  std::wstring_view control;
};
inline constexpr std::array<Label, 3> kLabels{{
    {L"Label4", L"Text1"},
    {L"Label3", L"DTPstartdatum"},
    {L"Label2", L"DTPeinddatum"},
}};

std::optional<Control> Find(std::wstring_view name);

// The rows of kControls (by index) in the order the window creates them, which is z-order:
// ascending tab index, but each label of kLabels right before the control it names. Labels take
// no focus, so the focusable controls keep their Tab order.
std::array<std::size_t, kControls.size()> CreationOrder();

// The control's rectangle in the window's client area, in twips.
Rect InClientArea(const Control& control);

// Twips to device pixels at the given DPI, rounded to nearest.
constexpr int ToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? 720 : -720)) / 1440);
}

// Whether the control takes keyboard focus (and so a place in the Tab cycle).
constexpr bool TakesFocus(Kind kind) {
  return kind == Kind::kCommandButton || kind == Kind::kTextBox || kind == Kind::kDatePicker ||
         kind == Kind::kCheckBox;
}

}  // namespace quorvel::layout

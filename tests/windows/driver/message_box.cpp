#include "message_box.h"

#include <algorithm>

#include <cstdint>
#include <vector>

#include "controls.h"
#include "program.h"
#include "screen_pixels.h"

namespace quorvel::test_driver {

namespace {

constexpr int kTextId = 0xFFFF;

HWND IconStatic(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Static" && (StyleOf(child) & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child)) {
      return child;
    }
  }
  return nullptr;
}

BoxIcon RecogniseIcon(HWND icon_static) {
  RECT rect{};
  GetWindowRect(icon_static, &rect);
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  // A null icon handle means the same in every process: the box was given no icon.
  if (w <= 0 || h <= 0 || SendMessageW(icon_static, STM_GETICON, 0, 0) == 0) return BoxIcon::kNone;
  const PixelGrid shown = ScreenPixels(rect);
  if (shown.pixels.empty()) return BoxIcon::kUnrecognised;
  // The corner is transparent in every system icon: it shows the box's background.
  const std::uint32_t corner = shown.pixels[0];
  const COLORREF background = RGB(corner >> 16 & 0xFF, corner >> 8 & 0xFF, corner & 0xFF);
  // A box without an icon keeps its (empty) icon control: nothing but background there.
  if (std::all_of(shown.pixels.begin(), shown.pixels.end(),
                  [&](std::uint32_t p) { return p == corner; })) {
    return BoxIcon::kNone;
  }
  struct Candidate {
    BoxIcon icon;
    LPCWSTR id;
  };
  const Candidate candidates[] = {{BoxIcon::kStop, IDI_HAND},
                                  {BoxIcon::kExclamation, IDI_EXCLAMATION},
                                  {BoxIcon::kInformation, IDI_ASTERISK},
                                  {BoxIcon::kQuestion, IDI_QUESTION}};
  BoxIcon best = BoxIcon::kUnrecognised;
  std::size_t best_differences = shown.pixels.size() / 10;  // at most 10% off to count at all
  for (const Candidate& candidate : candidates) {
    HICON icon = LoadIconW(nullptr, candidate.id);
    const PixelGrid drawn = DrawnPixels(w, h, [&](HDC dc) {
      HBRUSH brush = CreateSolidBrush(background);
      RECT all{0, 0, w, h};
      FillRect(dc, &all, brush);
      DeleteObject(brush);
      DrawIconEx(dc, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    });
    const std::size_t differences = Differences(shown, drawn);
    if (differences < best_differences) {
      best = candidate.icon;
      best_differences = differences;
    }
  }
  return best;
}

MessageBoxView LookAt(HWND box) {
  MessageBoxView view;
  view.box = box;
  view.title = Text(box);
  if (HWND text = GetDlgItem(box, kTextId)) view.text = Text(text);
  if (HWND icon_static = IconStatic(box)) view.icon = RecogniseIcon(icon_static);
  return view;
}

bool SameLook(const MessageBoxView& a, const MessageBoxView& b) {
  return a.title == b.title && a.text == b.text && a.icon == b.icon;
}

}  // namespace

const wchar_t* NameOf(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::kNone:
      return L"none";
    case BoxIcon::kStop:
      return L"stop";
    case BoxIcon::kExclamation:
      return L"exclamation";
    case BoxIcon::kInformation:
      return L"information";
    case BoxIcon::kQuestion:
      return L"question";
    case BoxIcon::kUnrecognised:
      break;
  }
  return L"unrecognised";
}

HWND WaitForMessageBox(DWORD process_id, Duration timeout) {
  return WaitFor(
      [&]() -> HWND {
        for (HWND window : TopLevelWindows(process_id)) {
          if (IsWindowVisible(window) && ClassOf(window) == L"#32770") return window;
        }
        return nullptr;
      },
      timeout);
}

MessageBoxView ReadMessageBox(HWND box, Duration paint_timeout) {
  // A box caught while it is still being built may not show its text or icon yet, nor have
  // painted its picture: it counts as read once two looks a moment apart agree on a picture
  // we know (or on none).
  constexpr DWORD kSettleMs = 100;
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(paint_timeout.count());
  MessageBoxView view = LookAt(box);
  for (;;) {
    Sleep(kSettleMs);
    if (!IsWindow(box)) return view;
    const MessageBoxView again = LookAt(box);
    const bool settled = SameLook(view, again) && again.icon != BoxIcon::kUnrecognised;
    view = again;
    if (settled || GetTickCount64() >= deadline) return view;
  }
}

bool PressOk(HWND box, Duration timeout) {
  HWND ok = GetDlgItem(box, IDOK);
  if (!ok) return false;
  PostMessageW(ok, BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(box); }, timeout);
}

MessageBoxView AnswerAtOnce(HWND box, Duration timeout) {
  MessageBoxView view;
  view.box = box;
  wchar_t text[4096] = {};
  InternalGetWindowText(box, text, 4096);
  view.title = text;
  text[0] = L'\0';
  if (HWND static_text = GetDlgItem(box, kTextId)) InternalGetWindowText(static_text, text, 4096);
  view.text = text;
  DWORD_PTR ignored = 0;
  if (HWND ok = GetDlgItem(box, IDOK)) {
    SendMessageTimeoutW(ok, BM_CLICK, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()),
                        &ignored);
  }
  WaitFor([&] { return !IsWindow(box); }, timeout);
  return view;
}

MessageBoxView AnswerNextBox(DWORD process_id, Duration timeout) {
  HWND box = WaitForMessageBox(process_id, timeout);
  if (!box) return {};
  MessageBoxView view = ReadMessageBox(box);
  PressOk(box);
  return view;
}

int CloseAllBoxes(DWORD process_id) {
  int closed = 0;
  for (HWND window : TopLevelWindows(process_id)) {
    if (IsWindowVisible(window) && ClassOf(window) == L"#32770" && PressOk(window)) ++closed;
  }
  return closed;
}

}  // namespace quorvel::test_driver

#include "window/win32/import_window.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "resource_ids.h"
#include "window/win32/control_styles.h"
#include "window/win32/dialog_font.h"
#include "window/win32/system_failure.h"
#include "window/win32/system_time.h"
#include "window/win32/window_placement.h"

namespace quorvel::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"QuorvelImport.frmImport";
// No WS_CLIPCHILDREN: the group boxes leave their inside to the window's background.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kWindowExtendedStyle = WS_EX_CONTROLPARENT;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  window_class.lpszClassName = kWindowClass;
  window_class.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL),
                                                     IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                     GetSystemMetrics(SM_CYICON), LR_SHARED));
  window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL),
                                                       IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  ClearLastError();
  if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw SystemFailure(L"RegisterClassEx");
  }
}

// A fixed window: the system menu offers only Move and Close.
void TrimSystemMenu(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  if (!menu) return;
  for (UINT command : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE}) {
    DeleteMenu(menu, command, MF_BYCOMMAND);
  }
}

// The picker's full range, as far as the control accepts it.
void WidenPickerRange(HWND picker) {
  SYSTEMTIME range[2]{};
  range[0].wYear = 1601;
  range[0].wMonth = 1;
  range[0].wDay = 1;
  range[1].wYear = 9999;
  range[1].wMonth = 12;
  range[1].wDay = 31;
  range[1].wHour = 23;
  range[1].wMinute = 59;
  range[1].wSecond = 59;
  SendMessageW(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
}

UniqueIcon LoadIconAt(HINSTANCE instance, int id, int size) {
  return UniqueIcon(
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
}

}  // namespace

ImportWindow::ImportWindow(HINSTANCE instance, MousePointer& pointer)
    : instance_(instance), pointer_(pointer) {
  RegisterWindowClass(instance, &ImportWindow::Procedure);
  ClearLastError();
  HWND window = CreateWindowExW(
      kWindowExtendedStyle, kWindowClass, std::wstring(layout::kWindowCaption).c_str(),
      kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
  if (!window) throw SystemFailure(L"CreateWindowEx");
  window_.reset(window);
  try {
    TrimSystemMenu(window);
    CreateControls();

    const UINT dpi = GetDpiForWindow(window);
    LayOut(dpi, nullptr);
    const SIZE size = OuterSize(layout::kClientWidth, layout::kClientHeight, kWindowStyle,
                                kWindowExtendedStyle, dpi);
    const POINT corner = CentredIn(WorkAreaOf(window), size);
    SetWindowPos(window, nullptr, corner.x, corner.y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } catch (...) {
    // window_ destroys the half-built window as this unwinds, when the other members are gone:
    // its messages from then on get the defaults, and its destruction posts no quit that would
    // close the box telling why the program could not start.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    throw;
  }
}

ImportWindow::~ImportWindow() = default;

HWND ImportWindow::Control(std::wstring_view name) const {
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    if (layout::kControls[i].name == name) return controls_[i];
  }
  throw Error(5, L"Invalid procedure call or argument");
}

void ImportWindow::CreateControls() {
  std::optional<layout::Control> previous;
  for (const std::size_t i : layout::CreationOrder()) {
    const layout::Control& control = layout::kControls[i];
    const ControlStyle style = StyleFor(control, previous);
    // Each created below the one before: z-order is the Tab order, with every label right above
    // the control it names.
    ClearLastError();
    HWND child = CreateWindowExW(
        style.extended_style, style.window_class, std::wstring(control.caption).c_str(),
        style.style, 0, 0, 0, 0, window_.get(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control))), instance_, nullptr);
    if (!child) throw SystemFailure(L"CreateWindowEx");
    controls_[i] = child;
    if (control.kind == layout::Kind::kCheckBox) {
      SendMessageW(child, BM_SETCHECK, BST_CHECKED, 0);
    }
    if (control.kind == layout::Kind::kDatePicker) WidenPickerRange(child);
    previous = control;
  }
}

void ImportWindow::LoadPictures(UINT dpi) {
  const int size = GetSystemMetricsForDpi(SM_CXICON, dpi);
  window_icon_picture_ = LoadIconAt(instance_, IDI_QUORVEL, size);
  five_picture_icon_picture_ = LoadIconAt(instance_, IDI_PICTURE2, size);
  const int small_size = GetSystemMetricsForDpi(SM_CXSMICON, dpi);
  window_icon_big_ = LoadIconAt(instance_, IDI_QUORVEL, size);
  window_icon_small_ = LoadIconAt(instance_, IDI_QUORVEL, small_size);
  SendMessageW(window_.get(), WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(window_icon_big_.get()));
  SendMessageW(window_.get(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(window_icon_small_.get()));
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    HICON icon = nullptr;
    switch (layout::kControls[i].icon) {
      case layout::Icon::kWindowIcon:
        icon = window_icon_picture_.get();
        break;
      case layout::Icon::kFivePictureIcon:
        icon = five_picture_icon_picture_.get();
        break;
      case layout::Icon::kNone:
        continue;
    }
    SendMessageW(controls_[i], STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
}

void ImportWindow::LayOut(UINT dpi, const RECT* suggested) {
  const int d = static_cast<int>(dpi);
  UniqueFont font = MakeDialogFont(dpi);
  HDWP positions = BeginDeferWindowPos(static_cast<int>(layout::kControls.size()));
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    const layout::Rect rect = layout::InClientArea(layout::kControls[i]);
    // Edges converted one by one, so controls that meet in twips meet in pixels.
    const int left = layout::ToPixels(rect.left, d);
    const int top = layout::ToPixels(rect.top, d);
    const int width = layout::ToPixels(rect.right(), d) - left;
    const int height = layout::ToPixels(rect.bottom(), d) - top;
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    if (layout::kControls[i].kind == layout::Kind::kDatePicker) {
      // The drop-down calendar has a font of its own, not the picker's.
      SendMessageW(controls_[i], DTM_SETMCFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    }
    if (positions) {
      positions = DeferWindowPos(positions, controls_[i], nullptr, left, top, width, height,
                                 SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      SetWindowPos(controls_[i], nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (positions) EndDeferWindowPos(positions);
  font_ = std::move(font);  // the old font goes only once no control uses it
  LoadPictures(dpi);

  if (suggested) {
    const SIZE size = OuterSize(layout::kClientWidth, layout::kClientHeight, kWindowStyle,
                                kWindowExtendedStyle, dpi);
    SetWindowPos(window_.get(), nullptr, suggested->left, suggested->top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(window_.get(), nullptr, TRUE);
}

void ImportWindow::Show() {
  // A shortcut set to start the program maximised or minimised gets its way on Windows at the
  // first ShowWindow, whatever that is given; the fixed window, which has neither button, is put
  // back to normal.
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  if (IsZoomed(window_.get()) || IsIconic(window_.get())) ShowWindow(window_.get(), SW_RESTORE);
  UpdateWindow(window_.get());
  if (HWND first = GetNextDlgTabItem(window_.get(), nullptr, FALSE)) SetFocus(first);
}

int ImportWindow::RunMessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    if (window_ && IsDialogMessageW(window_.get(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void ImportWindow::OnNotify(const NMHDR& header) {
  if (header.code != DTN_DATETIMECHANGE || header.hwndFrom != Control(L"DTPstartdatum")) return;
  const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
  if (change.dwFlags != GDT_VALID || SameMoment(change.st, last_start_value_)) return;
  last_start_value_ = change.st;
  Raise(&WindowEvents::StartDateChanged);
}

namespace {

// The window whose event is being handled on this thread; events do not nest.
thread_local ImportWindow* window_in_event = nullptr;

bool AsksToClose(const MSG& message) {
  return message.message == WM_CLOSE ||
         (message.message == WM_SYSCOMMAND && (message.wParam & 0xFFF0) == SC_CLOSE);
}

// While it lives, Windows shows the reason beside the program when a sign-out waits for it.
// Where the call is not implemented the refusal still stands, only without the sentence.
class ShutdownBlockReason {
 public:
  ShutdownBlockReason(HWND window, const wchar_t* reason)
      : window_(ShutdownBlockReasonCreate(window, reason) ? window : nullptr) {}
  ~ShutdownBlockReason() {
    if (window_) ShutdownBlockReasonDestroy(window_);
  }
  ShutdownBlockReason(const ShutdownBlockReason&) = delete;
  ShutdownBlockReason& operator=(const ShutdownBlockReason&) = delete;

 private:
  HWND window_;
};

}  // namespace

LRESULT CALLBACK ImportWindow::NoteCloseTaken(int code, WPARAM w, LPARAM l) {
  // A box's loop that has been answered takes the next message and dispatches nothing: a close
  // waiting in the queue behind the answer would be gone without the window seeing it.
  if (code == HC_ACTION && (w & PM_REMOVE) && window_in_event) {
    const MSG& message = *reinterpret_cast<const MSG*>(l);
    if (message.hwnd == window_in_event->window_.get() && AsksToClose(message)) {
      window_in_event->close_waiting_ = true;
    }
  }
  return CallNextHookEx(nullptr, code, w, l);
}

void ImportWindow::Raise(void (WindowEvents::*event)() noexcept, Interruption interruption) {
  // A run pumps messages only in its boxes and its calls to Outlook; whatever they dispatch here
  // meanwhile must not start a second run inside the first, nor destroy the window under them.
  if (!events_ || handling_event_) return;
  handling_event_ = true;
  session_end_refused_ = interruption == Interruption::kLosesWork;
  {
    std::optional<ShutdownBlockReason> reason;
    if (session_end_refused_) reason.emplace(window_.get(), kRunningImport);
    window_in_event = this;
    const UniqueHook note_close(SetWindowsHookExW(WH_GETMESSAGE, &ImportWindow::NoteCloseTaken,
                                                  nullptr, GetCurrentThreadId()));
    (events_->*event)();
    window_in_event = nullptr;
  }
  session_end_refused_ = false;
  handling_event_ = false;
  if (close_waiting_) {
    close_waiting_ = false;
    PostMessageW(window_.get(), WM_CLOSE, 0, 0);
  }
}

void ImportWindow::OnActivate(WPARAM w) {
  // As a dialog does: the focus leaves with the window and comes back where it was.
  if (LOWORD(w) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(window_.get(), focus)) focus_before_deactivation_ = focus;
    return;
  }
  HWND target = focus_before_deactivation_;
  if (!target || !IsWindow(target)) target = GetNextDlgTabItem(window_.get(), nullptr, FALSE);
  if (target) SetFocus(target);
}

LRESULT ImportWindow::Handle(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(w) == BN_CLICKED && reinterpret_cast<HWND>(l) == Control(L"cmdImport")) {
        Raise(&WindowEvents::ImportClicked, Interruption::kLosesWork);
        return 0;
      }
      break;
    case WM_CLOSE:
      // The close box, the taskbar's "Close window", Alt+F4 and a posted close all come here.
      if (handling_event_) {
        close_waiting_ = true;
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
      // Signing out, shutting down or Restart Manager: not while a run is part-way through its
      // saves or its boxes wait for the user.
      if (session_end_refused_) return FALSE;
      break;
    case WM_ENDSESSION:
      // Restart Manager asks this way for the program file that an upgrade or a removal
      // replaces; a program that stays open keeps it until Windows restarts.
      if (w && (l & ENDSESSION_CLOSEAPP)) PostMessageW(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(l));
      return 0;
    case WM_SETCURSOR:
      if (pointer_.Apply()) return TRUE;
      break;
    case WM_ACTIVATE:
      OnActivate(w);
      return 0;
    case WM_GETFONT:  // as a dialog answers: the font its controls use
      return reinterpret_cast<LRESULT>(font_.get());
    case WM_DPICHANGED:
      LayOut(HIWORD(w), reinterpret_cast<const RECT*>(l));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      window_.release();
      break;
  }
  return DefWindowProcW(window, message, w, l);
}

LRESULT CALLBACK ImportWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ImportWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // Until CreateWindowEx returns, window_ is not yet set: those messages get the defaults.
  if (!self || self->window_.get() != window) {
    if (self && message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, message, w, l);
  }
  try {
    return self->Handle(window, message, w, l);
  } catch (...) {
    // Nothing may unwind into the system; a failed re-layout leaves the old one standing.
    return DefWindowProcW(window, message, w, l);
  }
}

}  // namespace quorvel::win32

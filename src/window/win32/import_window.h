#pragma once
// The top-level window and its 17 controls, built from the layout table. It lays itself out
// for its DPI, keeps the application-wide pointer, and hands the load, the button's click and
// the start picker's real changes to its events. Closing it ends the message loop.
//
// An event is handled to its end, its boxes included: no other event starts inside it (a click
// sent to the button while a run's box is up does nothing), and a close asked for meanwhile is
// done once it has ended, as if asked for just after, wherever the close was taken from the queue.
// Restart Manager's request to close it (an upgrade or removal of the program) is such a close.
// While a run and its boxes are going, the window answers no to the end of the session, and
// Windows shows kRunningImport as the reason.

#include <windows.h>

#include <array>
#include <string_view>

#include "window/layout.h"
#include "window/win32/mouse_pointer.h"
#include "window/win32/unique_handles.h"
#include "window/win32/window_events.h"

namespace quorvel::win32 {

inline constexpr wchar_t kRunningImport[] =
    L"An import is running. Closing now would leave the rest of the chosen appointments "
    L"untouched.";

class ImportWindow {
 public:
  // Creates the window hidden, with every control in its initial state.
  ImportWindow(HINSTANCE instance, MousePointer& pointer);
  ~ImportWindow();
  ImportWindow(const ImportWindow&) = delete;
  ImportWindow& operator=(const ImportWindow&) = delete;

  HWND handle() const { return window_.get(); }
  // The control of the layout table's row with this name; throws for a name not in it.
  HWND Control(std::wstring_view name) const;

  void SetEvents(WindowEvents* events) { events_ = events; }
  // What the start picker holds when the program sets it, so that only a user's change counts.
  void RememberStartValue(const SYSTEMTIME& value) { last_start_value_ = value; }

  // Raises the load event, before the window shows; its boxes are an event's like a run's.
  void Load() { Raise(&WindowEvents::Loaded); }
  // Shows the window normally, however the program was started, with the focus on the first
  // focusable control.
  void Show();
  // Until the window is closed; Tab and the other dialog keys move the focus.
  int RunMessageLoop();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(HWND window, UINT message, WPARAM w, LPARAM l);
  void OnNotify(const NMHDR& header);
  void OnActivate(WPARAM w);
  // Whether ending the session part-way through an event would leave the user's work half done.
  enum class Interruption { kHarmless, kLosesWork };
  void Raise(void (WindowEvents::*event)() noexcept,
             Interruption interruption = Interruption::kHarmless);
  static LRESULT CALLBACK NoteCloseTaken(int code, WPARAM w, LPARAM l);

  void CreateControls();
  void LayOut(UINT dpi, const RECT* suggested);
  void LoadPictures(UINT dpi);

  HINSTANCE instance_;
  MousePointer& pointer_;
  WindowEvents* events_ = nullptr;
  UniqueWindow window_;
  std::array<HWND, layout::kControls.size()> controls_{};  // owned by window_
  UniqueFont font_;
  UniqueIcon window_icon_picture_;
  UniqueIcon five_picture_icon_picture_;
  UniqueIcon window_icon_big_;  // title bar and task switcher, sized for the DPI
  UniqueIcon window_icon_small_;
  SYSTEMTIME last_start_value_{};
  HWND focus_before_deactivation_ = nullptr;
  bool handling_event_ = false;
  bool close_waiting_ = false;
  bool session_end_refused_ = false;
};

}  // namespace quorvel::win32

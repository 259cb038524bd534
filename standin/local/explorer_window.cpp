#include "local/explorer_window.h"

#include <cstdio>
#include <string>

#include "object/server_context.h"
#include "store/ole_date.h"

namespace standin {
namespace {

constexpr int kListId = 100;
constexpr std::size_t kShownAtMost = 5000;  // a list box of 100,000 lines helps nobody

}  // namespace

ExplorerWindow::ExplorerWindow(HINSTANCE instance, std::function<void()> onClosed)
    : instance_(instance), onClosed_(std::move(onClosed)) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
}

ExplorerWindow::~ExplorerWindow() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void ExplorerWindow::Open() {
  if (window_) {
    SetForegroundWindow(window_);
    return;
  }
  const std::wstring title = ServerContext::Instance().session().model().calendarName() + L" - " +
                             ServerContext::Instance().session().model().mailbox() +
                             L" - Outlook stand-in";
  window_ = CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance_, this);
  if (!window_) return;
  ServerContext::Instance().SetExplorerOpen(true);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

void ExplorerWindow::Fill(HWND list) {
  const auto& items = ServerContext::Instance().session().model().items();
  for (std::size_t i = 0; i < items.size() && i < kShownAtMost; ++i) {
    const CivilTime start = FromOleDate(items[i].start);
    wchar_t when[32];
    std::swprintf(when, 32, L"%04d-%02d-%02d %02d:%02d   ", start.year, start.month, start.day,
                  start.hour, start.minute);
    SendMessageW(list, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>((std::wstring(when) + items[i].subject).c_str()));
  }
}

LRESULT CALLBACK ExplorerWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  try {
    if (message == WM_NCCREATE) {
      auto* self =
          static_cast<ExplorerWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ExplorerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
      case WM_CREATE: {
        HWND list =
            CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0,
                            window, reinterpret_cast<HMENU>(kListId), self->instance_, nullptr);
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
        self->Fill(list);
        return 0;
      }
      case WM_SIZE:
        MoveWindow(GetDlgItem(window, kListId), 0, 0, LOWORD(l), HIWORD(l), TRUE);
        return 0;
      case WM_DESTROY:
        if (self) {
          self->window_ = nullptr;
          ServerContext::Instance().SetExplorerOpen(false);
          if (self->onClosed_) self->onClosed_();
        }
        return 0;
    }
  } catch (...) {
    // Nothing may unwind into the window manager; the window simply stays as it is.
  }
  return DefWindowProcW(window, message, w, l);
}

}  // namespace standin

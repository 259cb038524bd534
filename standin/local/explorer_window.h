#pragma once
// The stand-in's main window: the calendar's appointments, start and subject, in a list.

#include <windows.h>

#include <functional>

namespace standin {

class ExplorerWindow {
 public:
  explicit ExplorerWindow(HINSTANCE instance, std::function<void()> onClosed);
  ExplorerWindow(const ExplorerWindow&) = delete;
  ExplorerWindow& operator=(const ExplorerWindow&) = delete;
  ~ExplorerWindow();

  void Open();  // shows it, or brings an open one to the front
  bool IsOpen() const { return window_ != nullptr; }

  static constexpr wchar_t kClassName[] = L"QuorvelStandinExplorer";

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  void Fill(HWND list);

  HINSTANCE instance_;
  std::function<void()> onClosed_;
  HWND window_ = nullptr;
};

}  // namespace standin

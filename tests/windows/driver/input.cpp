#include "input.h"

#include "wait.h"

namespace quorvel::test_driver {

namespace {

HWND FocusOrWindow(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus) {
    return info.hwndFocus;
  }
  return window;
}

INPUT KeyInput(UINT virtual_key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtual_key);
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

void PostKey(HWND window, UINT virtual_key) {
  HWND target = FocusOrWindow(window);
  const UINT scan = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, virtual_key, 1 | (static_cast<LPARAM>(scan) << 16));
  PostMessageW(target, WM_KEYUP, virtual_key,
               1 | (static_cast<LPARAM>(scan) << 16) | (LPARAM{3} << 30));
}

bool SendKey(HWND window, UINT virtual_key, bool shift, bool alt) {
  // A window that has the foreground is not asked for it again: under Wine the request can
  // leave the foreground elsewhere for the whole wait, and the key typed late into a box.
  if (GetForegroundWindow() != window) SetForegroundWindow(window);
  const bool foreground = WaitFor([&] { return GetForegroundWindow() == window; }, Duration{2000});
  INPUT inputs[6];
  UINT count = 0;
  if (alt) inputs[count++] = KeyInput(VK_MENU, false);
  if (shift) inputs[count++] = KeyInput(VK_SHIFT, false);
  inputs[count++] = KeyInput(virtual_key, false);
  inputs[count++] = KeyInput(virtual_key, true);
  if (shift) inputs[count++] = KeyInput(VK_SHIFT, true);
  if (alt) inputs[count++] = KeyInput(VK_MENU, true);
  SendInput(count, inputs, sizeof(INPUT));
  return foreground;
}

void Click(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
}

void ClickWithMouseMessages(HWND control) {
  RECT rect{};
  GetClientRect(control, &rect);
  const LPARAM at = MAKELPARAM((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
}

void CloseBySystemMenu(HWND window) {
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace quorvel::test_driver

#pragma once
// The last stop of a failure that leaves an event handler: a stop-icon box with the error's
// number and description under the application title. The window stays open.

#include <windows.h>

#include <exception>

#include "common/error.h"

namespace quorvel::win32 {

void ShowRunTimeError(HWND owner, const ErrorRecord& error) noexcept;

template <class Handler>
void RunGuarded(HWND owner, Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
    ShowRunTimeError(owner, CurrentErrorOf(std::current_exception()));
  }
}

}  // namespace quorvel::win32

#pragma once
// The window's events, each run through the last-chance handling.

#include "window/frm_import.h"
#include "window/win32/last_chance.h"
#include "window/win32/window_events.h"

namespace quorvel::win32 {

class ImportEvents final : public WindowEvents {
 public:
  ImportEvents(HWND owner, frmImport& form) : owner_(owner), form_(form) {}

  void Loaded() noexcept override {
    RunGuarded(owner_, [this] { form_.Form_Load(); });
  }
  void ImportClicked() noexcept override {
    RunGuarded(owner_, [this] { form_.cmdImport_Click(); });
  }
  void StartDateChanged() noexcept override {
    RunGuarded(owner_, [this] { form_.DTPstartdatum_Change(); });
  }

 private:
  HWND owner_;
  frmImport& form_;
};

}  // namespace quorvel::win32

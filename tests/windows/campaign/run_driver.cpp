#include "run_driver.h"

#include <array>
#include <memory>

#include "controls.h"
#include "input.h"
#include "program.h"
#include "remote_picker.h"
#include "standin_files.h"
#include "store/text_encoding.h"

namespace quorvel::campaign {

namespace {

using namespace test_driver;

constexpr wchar_t kCaption[] = L"Import existing appointments";
constexpr wchar_t kFinished[] = L"Import finished           ";
constexpr Duration kStartBound{30000};
constexpr Duration kBoxBound{30000};
constexpr Duration kExitBound{20000};
constexpr DWORD kLocalServerExitBound = 20000;
constexpr Duration kKillBound{30000};
constexpr DWORD kOrphanBound = 2000;

// The boxes by the busy status they stand for.
constexpr std::array<const wchar_t*, 4> kBoxNames{L"ChkFree", L"ChkTentative", L"ChkBusy",
                                                  L"ChkOOF"};

// A box caught while it is still being built can read as having no icon: its icon is looked
// for again a little later before the box is taken to have none.
MessageBoxView AnswerSettledBox(DWORD process_id) {
  HWND box = WaitForMessageBox(process_id, kBoxBound);
  if (!box) return {};
  MessageBoxView view = ReadMessageBox(box);
  const ULONGLONG deadline = GetTickCount64() + 2000;
  while ((view.icon == BoxIcon::kNone || view.icon == BoxIcon::kUnrecognised) &&
         GetTickCount64() < deadline && IsWindow(box)) {
    Sleep(100);
    view = ReadMessageBox(box);
  }
  PressOk(box);
  return view;
}

class RunDriver {
 public:
  RunDriver(const std::wstring& program_path, const Scenario& run)
      : program_path_(program_path), run_(run) {}

  ObservedRun Drive() {
    // A server left over from an earlier run would serve the old calendar.
    CloseStandinExplorers();
    if (!testing::WaitForLocalServerExit(kLocalServerExitBound)) {
      Problem("a stand-in Outlook.exe of an earlier run does not end");
    }
    testing::RegisterStandin(run_.host);
    store_path_ = testing::WriteStore(run_.store, L"campaign");
    program_ = std::make_unique<Program>(program_path_);
    if (StartUp() && SetUpWindow()) {
      Click(ControlByName(window_, L"cmdImport"));
      if (run_.kill == Scenario::Kill::kProgram) {
        KillProgram();
      } else {
        if (run_.kill == Scenario::Kill::kStandin) KillStandin();
        AnswerBoxes();
        CloseWindow();
      }
    }
    program_.reset();  // kills what is left of a run that went wrong
    SettleStandin();
    seen_.journal = JournalledSaves(store_path_);
    seen_.store = StoredSubjects(store_path_);
    return seen_;
  }

 private:
  void Problem(std::string text) { seen_.driver_problems.push_back(std::move(text)); }

  bool StartUp() {
    window_ = WaitFor(
        [&]() -> HWND {
          if (HWND box = WaitForMessageBox(program_->process_id(), Duration{50})) {
            seen_.startup_box = ReadMessageBox(box).text;
            PressOk(box);
          }
          return program_->WaitForWindow(kCaption, true, Duration{50});
        },
        kStartBound);
    seen_.window_shown = window_ != nullptr;
    if (!window_) Problem("the window did not show within 30 s");
    return window_ != nullptr;
  }

  bool SetUpWindow() {
    if (!SetPickerValue(ControlByName(window_, L"DTPstartdatum"), Moment(run_.range_start)) ||
        !SetPickerValue(ControlByName(window_, L"DTPeinddatum"), Moment(run_.range_end))) {
      Problem("a date picker could not be set");
      return false;
    }
    for (std::size_t status = 0; status < kBoxNames.size(); ++status) {
      HWND box = ControlByName(window_, kBoxNames[status]);
      const LRESULT wanted = run_.boxes[status] ? BST_CHECKED : BST_UNCHECKED;
      if (CheckState(box) != wanted) Click(box);
      if (!WaitFor([&] { return CheckState(box) == wanted; }, Duration{5000})) {
        Problem("check box " + standin::WideToUtf8(kBoxNames[status]) + " did not take its state");
        return false;
      }
    }
    return true;
  }

  void AnswerBoxes() {
    for (int i = 0; i < 4; ++i) {
      MessageBoxView box = AnswerSettledBox(program_->process_id());
      if (!box.box) {
        Problem("no further box within 30 s: a hang");
        return;
      }
      seen_.boxes.push_back(box);
      if (box.text == kFinished) {
        seen_.boxes_complete = true;
        return;
      }
    }
    Problem("more boxes than a run shows");
  }

  void CloseWindow() {
    seen_.alive_after_run = program_->Running();
    if (!seen_.alive_after_run) return;
    seen_.count_text = Text(ControlByName(window_, L"Text1"));
    seen_.progress_text = Text(ControlByName(window_, L"voortgang"));
    CloseBySystemMenu(window_);
    seen_.exit_code = program_->WaitForExit(kExitBound);
    if (!seen_.exit_code) Problem("the program did not end within 20 s of closing");
  }

  // Waits until the journal holds the kill point's saves; false when a box came first.
  bool WaitForKillPoint() {
    const ULONGLONG deadline = GetTickCount64() + kKillBound.count();
    while (static_cast<int>(JournalledSaves(store_path_).size()) < run_.kill_after_saves) {
      if (WaitForMessageBox(program_->process_id(), Duration{0}) != nullptr) return false;
      if (GetTickCount64() > deadline) {
        Problem("the kill point was not reached within 30 s");
        return false;
      }
      Sleep(1);
    }
    return true;
  }

  // A run that ends before the kill point is killed while its closing boxes are up.
  void KillProgram() {
    WaitForKillPoint();
    TerminateProcess(program_->process(), 255);
    if (!program_->WaitForExit(Duration{10000})) Problem("the killed program did not end");
    seen_.killed = true;
  }

  // Outlook gone under the program, as when it crashes; a run that ends before the kill point
  // keeps its Outlook and is judged as any other.
  void KillStandin() {
    if (!WaitForKillPoint()) return;
    seen_.standin_killed = TerminateStandinServers() > 0;
    if (!seen_.standin_killed) Problem("the stand-in Outlook.exe could not be killed");
  }

  // The stand-in must have let go of the store before its files are read: out of process it
  // ends once the program has gone; after a kill it is started again to replay its journal.
  void SettleStandin() {
    const bool local = run_.host == Host::kLocalServer;
    if (local) {
      CloseStandinExplorers();
      if (!testing::WaitForLocalServerExit(seen_.killed ? kOrphanBound : kLocalServerExitBound)) {
        // Wine does not run down the references of a client that died, so the server waits
        // for it as long as it lives.
        if (seen_.killed && TerminateStandinServers() > 0) {
          seen_.standin_orphaned = true;
        } else {
          Problem("the stand-in Outlook.exe did not end within 20 s of the program");
        }
      }
    }
    if (!seen_.killed && !seen_.standin_killed) return;
    if (!RestartStandin(local)) Problem("the stand-in could not be restarted");
    if (local && !testing::WaitForLocalServerExit(kLocalServerExitBound)) {
      Problem("the restarted stand-in Outlook.exe did not end within 20 s");
    }
  }

  const std::wstring& program_path_;
  const Scenario& run_;
  std::wstring store_path_;
  std::unique_ptr<Program> program_;
  HWND window_ = nullptr;
  ObservedRun seen_;
};

}  // namespace

ObservedRun DriveRun(const std::wstring& program_path, const Scenario& run) {
  return RunDriver(program_path, run).Drive();
}

}  // namespace quorvel::campaign

#pragma once
// The program started beside the in-process stand-in Outlook on a store of the test's making,
// and driven through its window as a user drives it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "controls.h"
#include "harness/standin_harness.h"
#include "input.h"
#include "message_box.h"
#include "outcome_box.h"
#include "program.h"
#include "remote_picker.h"

namespace quorvel::endtoend {
extern std::wstring program_path;

using namespace test_driver;
using testing::Host;
using testing::StandinItem;
using testing::StandinStore;

inline constexpr wchar_t kCaption[] = L"Import existing appointments";
inline constexpr wchar_t kFinished[] = L"Import finished           ";
inline const ErrorRecord kAborted{-2147467260, L"Operation aborted", L"Microsoft Outlook"};

inline StandinItem MakeItem(std::string id, DateTime start, int busy = 2, int recurrence = 0) {
  StandinItem item;
  item.id = std::move(id);
  item.subject = L"Subject " + std::wstring(item.id.begin(), item.id.end());
  item.start = start;
  item.busy = busy;
  item.recurrence = recurrence;
  return item;
}

inline std::map<std::string, std::vector<std::string>> SavesById(const std::wstring& store) {
  std::map<std::string, std::vector<std::string>> saves;
  for (const auto& record : testing::ReadJournal(store)) {
    if (!record.id.empty()) saves[record.id].push_back(record.subject);
  }
  return saves;
}

// The user's short date format, set for a test and put back afterwards.
class ShortDateFormat {
 public:
  ShortDateFormat() : original_(Read()) {}
  ~ShortDateFormat() { Set(original_); }
  ShortDateFormat(const ShortDateFormat&) = delete;
  ShortDateFormat& operator=(const ShortDateFormat&) = delete;
  static void Set(const std::wstring& format) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\International", L"sShortDate", REG_SZ,
                    format.c_str(), static_cast<DWORD>((format.size() + 1) * sizeof(wchar_t)));
  }

 private:
  static std::wstring Read() {
    wchar_t value[80] = L"M/d/yyyy";
    DWORD size = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\International", L"sShortDate", RRF_RT_REG_SZ,
                 nullptr, value, &size);
    return value;
  }
  std::wstring original_;
};

// What is done to the window while a run works: nothing, Enter typed three times (a run takes
// no input, so it looks frozen), a click sent to the button (as automation tools send one), a
// close posted (as taskkill without /f and logoff scripts post one) right after the click, while
// the first box is up or while the last one is, or the end of the session asked for while each
// box is up (as a sign-out and Restart Manager ask).
enum class Meanwhile {
  kNothing,
  kTypeEnter,
  kSendClick,
  kPostCloseBeforeTheBoxes,
  kPostCloseDuringTheFirstBox,
  kPostCloseDuringTheLastBox,
  kAskToEndTheSession
};

inline bool PostsClose(Meanwhile meanwhile) {
  return meanwhile == Meanwhile::kPostCloseBeforeTheBoxes ||
         meanwhile == Meanwhile::kPostCloseDuringTheFirstBox ||
         meanwhile == Meanwhile::kPostCloseDuringTheLastBox;
}

// A close meets a box's answer only now and then: those runs are made again and again in
// process (QUORVEL_CLOSE_RUNS times, to measure), once across processes.
inline int Repetitions(Meanwhile meanwhile, Host host) {
  if (!PostsClose(meanwhile) || host != Host::kInProcess) return 1;
  const char* runs = std::getenv("QUORVEL_CLOSE_RUNS");
  return runs ? std::max(1, std::atoi(runs)) : 3;
}

// A run that leaves chosen work undone, or one that must not, and what its user must see: the
// saves by id as journalled, and the outcome box's text (none when empty).
struct OutcomeCase {
  const char* name;
  const wchar_t* short_date;
  StandinStore store;
  SYSTEMTIME range_start;
  SYSTEMTIME range_end;
  std::map<std::string, std::vector<std::string>> saves;
  std::wstring outcome;
  Meanwhile meanwhile = Meanwhile::kNothing;
};

// The same runs for each host, so the account is proven across processes as well.
std::vector<OutcomeCase> OutcomeCases(Host host);

class ImportRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::RegisterStandin(Host::kInProcess); }

  // Starts the program on a store, with a shortcut's show command if given; from a folder if
  // given, as a user starts the zip's program file: its copy there, that folder the current one.
  // The start-up box, if any, is read and answered.
  void Start(const StandinStore& store, std::optional<WORD> show_command = std::nullopt,
             const std::wstring& folder = {}) {
    startup_box_ = {};
    store_ = testing::WriteStore(store, L"endtoend");
    const std::wstring program = folder.empty() ? program_path : folder + L"\\QuorvelImport.exe";
    program_ = std::make_unique<Program>(program, Environment{}, show_command, L"", folder);
    window_ = WaitFor(
        [&]() -> HWND {
          if (HWND box = WaitForMessageBox(program_->process_id(), Duration{50})) {
            startup_box_ = ReadMessageBox(box);
            PressOk(box);
          }
          return program_->WaitForWindow(kCaption, true, Duration{50});
        },
        Duration{30000});
    ASSERT_NE(window_, nullptr) << "the window did not show";
  }

  void SetRange(SYSTEMTIME start, SYSTEMTIME end) {
    ASSERT_TRUE(SetPickerValue(ControlByName(window_, L"DTPstartdatum"), start));
    ASSERT_TRUE(SetPickerValue(ControlByName(window_, L"DTPeinddatum"), end));
  }

  // What the window answers when asked whether the session may end; nothing when it did not
  // answer in time.
  std::optional<LRESULT> AskToEndTheSession(LPARAM why) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window_, WM_QUERYENDSESSION, 0, why, SMTO_ABORTIFHUNG, 5000,
                             &answer)) {
      return std::nullopt;
    }
    return static_cast<LRESULT>(answer);
  }

  // Clicks "Start import", does what `meanwhile` says (input to a run at work 100 ms into it),
  // and answers every box until the closing one (or a timeout): at once in the runs that post a
  // close, else once it has been read.
  std::vector<MessageBoxView> ClickStartImport(Meanwhile meanwhile = Meanwhile::kNothing) {
    HWND button = ControlByName(window_, L"cmdImport");
    Click(button);
    if (meanwhile == Meanwhile::kPostCloseBeforeTheBoxes) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (meanwhile == Meanwhile::kTypeEnter || meanwhile == Meanwhile::kSendClick) Sleep(100);
    if (meanwhile == Meanwhile::kSendClick) SendNotifyMessageW(button, BM_CLICK, 0, 0);
    for (int i = 0; meanwhile == Meanwhile::kTypeEnter && i < 3; ++i) {
      EXPECT_TRUE(SendKey(window_, VK_RETURN)) << "the window was not in the foreground";
    }
    session_answers_.clear();
    std::vector<MessageBoxView> boxes;
    for (int i = 0; i < 5; ++i) {
      HWND box = WaitForMessageBox(program_->process_id(), Duration{60000});
      if (!box) break;
      // The second box is the last of the runs that post a close.
      if ((meanwhile == Meanwhile::kPostCloseDuringTheFirstBox && i == 0) ||
          (meanwhile == Meanwhile::kPostCloseDuringTheLastBox && i == 1)) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
      }
      if (meanwhile == Meanwhile::kAskToEndTheSession) {
        session_answers_.push_back(
            AskToEndTheSession(i == 0 ? ENDSESSION_CLOSEAPP : ENDSESSION_LOGOFF));
      }
      MessageBoxView view;
      if (PostsClose(meanwhile)) {
        view = AnswerAtOnce(box);
      } else {
        view = ReadMessageBox(box);
        PressOk(box);
      }
      boxes.push_back(view);
      if (view.text == kFinished || view.text.starts_with(L"The end date should be later")) {
        break;
      }
    }
    return boxes;
  }

  // Closes the window as a user does; the program must end at once.
  void Close() {
    if (!program_) return;
    CloseBySystemMenu(window_);
    EXPECT_TRUE(program_->WaitForExit(Duration{20000}).has_value()) << "closing did not end it";
    program_.reset();
  }
  // Ends the program and whatever else of the run is still up, ready for the next run.
  virtual void EndRun() { Close(); }
  void TearDown() override { EndRun(); }

  // Each run of OutcomeCases(): the outcome box exactly as told, in its place before the
  // closing box, and exactly the saves the run must make; a close asked for during the run done
  // once its boxes are answered, and the end of the session refused until then.
  void RunOutcomeCases(Host host) {
    ShortDateFormat restore;
    for (const OutcomeCase& run : OutcomeCases(host)) {
      const int repetitions = Repetitions(run.meanwhile, host);
      int closes_lost = 0;
      for (int repetition = 1; repetition <= repetitions; ++repetition) {
        SCOPED_TRACE(std::string(run.name) + ", run " + std::to_string(repetition));
        ShortDateFormat::Set(run.short_date);
        Start(run.store);
        SetRange(run.range_start, run.range_end);
        const auto boxes = ClickStartImport(run.meanwhile);
        ASSERT_EQ(boxes.size(), run.outcome.empty() ? 1u : 2u)
            << "first box: " << (boxes.empty() ? L"none" : boxes[0].text);
        // Boxes answered at once are not looked at long enough to tell their icons.
        const bool icons_read = !PostsClose(run.meanwhile);
        if (!run.outcome.empty()) {
          EXPECT_EQ(boxes[0].text, run.outcome);
          EXPECT_EQ(boxes[0].title, L"QuorvelImport");
          if (icons_read) {
            EXPECT_EQ(boxes[0].icon, BoxIcon::kExclamation);
          }
        }
        EXPECT_EQ(boxes.back().text, kFinished);
        if (icons_read) {
          EXPECT_EQ(boxes.back().icon, BoxIcon::kInformation);
        }
        EXPECT_EQ(SavesById(store_), run.saves);
        if (PostsClose(run.meanwhile) && !program_->WaitForExit(Duration{5000})) ++closes_lost;
        if (run.meanwhile == Meanwhile::kAskToEndTheSession) {
          EXPECT_EQ(session_answers_, std::vector<std::optional<LRESULT>>(boxes.size(), FALSE))
              << "the session could have ended while a box of the run was up";
          EXPECT_EQ(AskToEndTheSession(ENDSESSION_CLOSEAPP), std::optional<LRESULT>(TRUE))
              << "the end of the session was refused after the run";
          DWORD_PTR ignored = 0;
          SendMessageTimeoutW(window_, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                              5000, &ignored);
          EXPECT_TRUE(program_->WaitForExit(Duration{10000}).has_value())
              << "Restart Manager's close after the run did not end the program";
        }
        EndRun();
      }
      EXPECT_EQ(closes_lost, 0) << run.name << ": the close asked for during the run was not done "
                                << "after its boxes in " << closes_lost << " of " << repetitions
                                << " runs";
    }
  }

  std::wstring store_;
  std::unique_ptr<Program> program_;
  HWND window_ = nullptr;
  MessageBoxView startup_box_;
  std::vector<std::optional<LRESULT>> session_answers_;  // asked while each box was up
};

}  // namespace quorvel::endtoend

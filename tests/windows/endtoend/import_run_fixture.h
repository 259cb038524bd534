#pragma once
// The program started beside the in-process stand-in Outlook on a store of the test's making,
// and driven through its window as a user drives it.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "controls.h"
#include "harness/standin_harness.h"
#include "input.h"
#include "message_box.h"
#include "program.h"
#include "remote_picker.h"

namespace quorvel::endtoend {
extern std::wstring program_path;

using namespace test_driver;
using testing::Host;
using testing::StandinItem;
using testing::StandinStore;

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

class ImportRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::RegisterStandin(Host::kInProcess); }

  // Starts the program on a store, with a shortcut's show command if given; the start-up box,
  // if any, is read and answered.
  void Start(const StandinStore& store, std::optional<WORD> show_command = std::nullopt) {
    startup_box_ = {};
    store_ = testing::WriteStore(store, L"endtoend");
    program_ = std::make_unique<Program>(program_path, Environment{}, show_command);
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

  // Clicks "Start import" and answers every box until the closing one (or a timeout).
  std::vector<MessageBoxView> ClickStartImport() {
    Click(ControlByName(window_, L"cmdImport"));
    std::vector<MessageBoxView> boxes;
    for (int i = 0; i < 5; ++i) {
      MessageBoxView box = AnswerNextBox(program_->process_id(), Duration{60000});
      if (!box.box) break;
      boxes.push_back(box);
      if (box.text == kFinished || box.text.starts_with(L"The end date should be later")) {
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
  void TearDown() override { Close(); }

  std::wstring store_;
  std::unique_ptr<Program> program_;
  HWND window_ = nullptr;
  MessageBoxView startup_box_;
};

}  // namespace quorvel::endtoend

// Start-up as the user meets it: with Outlook showing its window, with Outlook running but
// showing none (so the program launches it through the shell), and with a launch that fails
// and leaves the load step for the platform's last-chance box, and a close asked for meanwhile.

#include <filesystem>
#include <optional>

#include "hidden_prog_id.h"
#include "import_run_fixture.h"
#include "window/layout.h"

namespace quorvel::endtoend {
namespace {

// Local time as whole seconds since 1601, so that moments compare and subtract simply.
long long Seconds(const SYSTEMTIME& moment) {
  FILETIME file{};
  if (!SystemTimeToFileTime(&moment, &file)) return -1;
  ULARGE_INTEGER ticks{};
  ticks.LowPart = file.dwLowDateTime;
  ticks.HighPart = file.dwHighDateTime;
  return static_cast<long long>(ticks.QuadPart / 10000000ull);
}

SYSTEMTIME LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now;
}

int LaunchRecords(const std::wstring& store) {
  int launches = 0;
  for (const auto& record : testing::ReadJournal(store)) launches += record.id.empty();
  return launches;
}

StandinStore TodaysAppointments(bool explorer) {
  const SYSTEMTIME now = LocalNow();
  StandinStore store;
  store.explorer = explorer;
  store.items.push_back(MakeItem("today", {now.wYear, now.wMonth, now.wDay, 0, 0, 0}, 2));
  store.items.push_back(MakeItem("late today", {now.wYear, now.wMonth, now.wDay, 18, 0, 0}, 1));
  return store;
}

namespace fs = std::filesystem;

// A download folder holding the zip's program file and, left there by a browser, a file named
// Outlook.exe, which, if run, leaves a folder "Outlook.exe.ran" beside itself.
class DownloadFolder {
 public:
  DownloadFolder() {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    folder_ = fs::path(temp) / L"QuorvelImport download";
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::copy_file(fs::path(self).parent_path() / L"planted_outlook.exe", folder_ / L"Outlook.exe");
    fs::copy_file(WindowsPath(program_path), folder_ / L"QuorvelImport.exe");
  }
  ~DownloadFolder() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  DownloadFolder(const DownloadFolder&) = delete;
  DownloadFolder& operator=(const DownloadFolder&) = delete;

  const fs::path& folder() const { return folder_; }
  bool planted_ran() const { return fs::exists(folder_ / L"Outlook.exe.ran"); }

 private:
  fs::path folder_;
};

class StartUp : public ImportRun {
 protected:
  // Starts the program and notes the moments just before and just after its start-up.
  void StartTimed(const StandinStore& store, const std::wstring& folder = {}) {
    before_ = Seconds(LocalNow());
    Start(store, std::nullopt, folder);
    after_ = Seconds(LocalNow());
  }

  // Both pickers hold a moment of the start-up, time of day included, the end not before
  // the start.
  void ExpectPickersSetDuringStartUp() {
    const std::optional<SYSTEMTIME> start = PickerValue(ControlByName(window_, L"DTPstartdatum"));
    const std::optional<SYSTEMTIME> end = PickerValue(ControlByName(window_, L"DTPeinddatum"));
    ASSERT_TRUE(start && end) << "a picker holds no value";
    EXPECT_GE(Seconds(*start), before_);
    EXPECT_LE(Seconds(*end), after_);
    EXPECT_LE(Seconds(*start), Seconds(*end));
  }

  // What the user sees of a working import over today: both appointments saved once and
  // the closing box, nothing else.
  void ExpectARunOverTodaySavesBoth() {
    const auto boxes = ClickStartImport();
    ASSERT_EQ(boxes.size(), 1u) << "first box: " << (boxes.empty() ? L"" : boxes[0].text);
    EXPECT_EQ(boxes[0].text, kFinished);
    EXPECT_EQ(boxes[0].title, L"Quorvel Import tool");
    EXPECT_EQ(boxes[0].icon, BoxIcon::kInformation);
    const std::map<std::string, std::vector<std::string>> expected{
        {"late today", {"Subject late today "}}, {"today", {"Subject today "}}};
    EXPECT_EQ(SavesById(store_), expected);
  }

  long long before_ = 0;
  long long after_ = 0;
};

TEST_F(StartUp, WithOutlookShowingItsWindowNoBoxAtTheOriginBothPickersNow) {
  StartTimed(TodaysAppointments(true));
  EXPECT_TRUE(startup_box_.text.empty()) << "start-up box: " << startup_box_.text;
  EXPECT_EQ(WaitForMessageBox(program_->process_id(), Duration{500}), nullptr);
  ExpectPickersSetDuringStartUp();

  // Topmost is not checked here: under Wine 8 SetWindowPos(HWND_TOPMOST) leaves a window that
  // owns a popup (each date picker owns its hidden drop-down) without WS_EX_TOPMOST.
  RECT outer{};
  GetWindowRect(window_, &outer);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  EXPECT_EQ(LaunchRecords(store_), 0) << "Outlook was launched though its window showed";
}

// Started from a download folder where a file named Outlook.exe lies: the Outlook that Windows
// registered is launched, never that file.
TEST_F(StartUp, WithoutAnExplorerOutlookIsLaunchedOnceThroughTheShellAndARunStillWorks) {
  const DownloadFolder download;
  StartTimed(TodaysAppointments(false), download.folder());
  EXPECT_TRUE(startup_box_.text.empty()) << "start-up box: " << startup_box_.text;
  ExpectPickersSetDuringStartUp();
  // The shell does not wait for the launched program; its record comes when it has started.
  WaitFor([&] { return LaunchRecords(store_) > 0 || download.planted_ran(); }, Duration{15000});
  EXPECT_FALSE(download.planted_ran()) << "the Outlook.exe in the current folder was run";
  EXPECT_GT(LaunchRecords(store_), 0) << "the registered Outlook.exe was not launched";
  EXPECT_EQ(WaitForMessageBox(program_->process_id(), Duration{0}), nullptr)
      << "a box came with the launch";

  ExpectARunOverTodaySavesBoth();
  Close();
  EXPECT_EQ(LaunchRecords(store_), 1);
}

TEST_F(StartUp, AFailedLaunchEndsInTheRunTimeErrorBoxAndTheWindowStaysUsable) {
  const HiddenProgId no_shell(L"WScript.Shell");
  ASSERT_TRUE(no_shell.hidden());
  StartTimed(TodaysAppointments(false));
  // CLSIDFromProgID refuses the missing ProgID with CO_E_CLASSSTRING, for which Wine's system
  // messages hold no text: the automation client's generic description stands in.
  EXPECT_EQ(startup_box_.text, L"Run-time error -2147221005: Automation error");
  EXPECT_EQ(startup_box_.title, L"QuorvelImport");
  EXPECT_EQ(startup_box_.icon, BoxIcon::kStop);
  // The load step had set both pickers before it reached the launch.
  ExpectPickersSetDuringStartUp();

  ExpectARunOverTodaySavesBoth();
  EXPECT_EQ(LaunchRecords(store_), 0);
}

// A close asked for while the load step's box is up (taskkill without /f, Restart Manager)
// waits for the box to be answered; then the program ends. A click sent meanwhile starts no run.
TEST_F(StartUp, AClosePostedDuringTheStartUpBoxIsDoneOnceItIsAnswered) {
  const HiddenProgId no_shell(L"WScript.Shell");
  ASSERT_TRUE(no_shell.hidden());
  store_ = testing::WriteStore(TodaysAppointments(false), L"endtoend");
  program_ = std::make_unique<Program>(program_path);
  const HWND box = WaitForMessageBox(program_->process_id(), Duration{30000});
  ASSERT_NE(box, nullptr) << "no start-up box";
  const HWND window = program_->WaitForWindow(kCaption, false);
  SendNotifyMessageW(ControlByName(window, L"cmdImport"), BM_CLICK, 0, 0);
  PostMessageW(window, WM_CLOSE, 0, 0);
  Sleep(300);
  EXPECT_EQ(ReadMessageBox(box).text, L"Run-time error -2147221005: Automation error")
      << "the close did not wait for the box";
  PressOk(box);
  EXPECT_TRUE(program_->WaitForExit(Duration{10000}).has_value()) << "the close was not done";
  program_.reset();
  EXPECT_TRUE(SavesById(store_).empty());
}

// A shortcut set to start the program maximised or minimised: the fixed window, which has
// neither button, shows normally at its own size all the same.
class StartUpFromAShortcut : public StartUp, public ::testing::WithParamInterface<WORD> {};

TEST_P(StartUpFromAShortcut, ShowsTheFixedWindowNormally) {
  Start(TodaysAppointments(true), GetParam());
  EXPECT_TRUE(startup_box_.text.empty()) << "start-up box: " << startup_box_.text;
  EXPECT_FALSE(IsIconic(window_)) << "minimised";
  EXPECT_FALSE(IsZoomed(window_)) << "maximised";
  const int dpi = static_cast<int>(GetDpiForWindow(window_));
  const SIZE client = ClientSize(window_);
  EXPECT_EQ(client.cx, MulDiv(layout::kClientWidth, dpi, 1440));
  EXPECT_EQ(client.cy, MulDiv(layout::kClientHeight, dpi, 1440));
}

INSTANTIATE_TEST_SUITE_P(ShowCommands, StartUpFromAShortcut,
                         ::testing::Values(SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED, SW_SHOWMINNOACTIVE),
                         [](const ::testing::TestParamInfo<WORD>& info) -> std::string {
                           switch (info.param) {
                             case SW_SHOWMAXIMIZED:
                               return "Maximized";
                             case SW_SHOWMINIMIZED:
                               return "Minimized";
                             default:
                               return "MinimizedNotActive";
                           }
                         });

}  // namespace
}  // namespace quorvel::endtoend

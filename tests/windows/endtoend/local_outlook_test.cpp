// Start-up and a run against the stand-in's Outlook.exe, out of process as Outlook is: started
// by COM it shows no explorer, so the program launches "Outlook.exe" through the shell, which
// finds the running instance and has it open its explorer; the import then goes across
// processes.

#include "import_run_fixture.h"

#include <tlhelp32.h>

namespace quorvel::endtoend {
namespace {

int OutlookProcesses() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    count += lstrcmpiW(entry.szExeFile, L"Outlook.exe") == 0;
  }
  CloseHandle(snapshot);
  return count;
}

class LocalOutlook : public ImportRun {
 protected:
  static void SetUpTestSuite() { testing::RegisterStandin(Host::kLocalServer); }
  void SetUp() override {
    ASSERT_TRUE(testing::WaitForLocalServerExit(15000)) << "an Outlook.exe of an earlier run";
  }
  // The shell's launch gives the server an explorer, which keeps it up until closed.
  void EndRun() override {
    if (!program_) return;
    Close();
    if (HWND explorer =
            WaitFor([] { return FindWindowW(nullptr, kExplorerCaption); }, Duration{10000})) {
      PostMessageW(explorer, WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(testing::WaitForLocalServerExit(15000)) << "Outlook.exe did not end";
  }
  static constexpr wchar_t kExplorerCaption[] =
      L"Calendar - Mailbox - Test User - Outlook stand-in";
};

TEST_F(LocalOutlook, StartedByTheProgramItGetsItsExplorerFromTheShellLaunchAndARunWorks) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  StandinStore store;
  store.items.push_back(MakeItem("series", {2025, 3, 1, 9, 0, 0}, 0, 1));  // pass 1 only
  store.items.push_back(MakeItem("today", {now.wYear, now.wMonth, now.wDay, 0, 0, 0}, 2));
  store.items.push_back(MakeItem("elsewhere", {2025, 3, 2, 9, 0, 0}, 2));
  Start(store);
  EXPECT_TRUE(startup_box_.text.empty()) << "start-up box: " << startup_box_.text;

  // The launch does not wait: the explorer comes when the shell's Outlook.exe has reached the
  // running one and gone again.
  HWND explorer = WaitFor([] { return FindWindowW(nullptr, kExplorerCaption); }, Duration{20000});
  ASSERT_NE(explorer, nullptr) << "no explorer was opened";
  EXPECT_TRUE(WaitFor([] { return OutlookProcesses() == 1; }, Duration{10000}))
      << OutlookProcesses() << " Outlook.exe processes";
  EXPECT_EQ(WaitForMessageBox(program_->process_id(), Duration{0}), nullptr);

  const auto boxes = ClickStartImport();
  ASSERT_EQ(boxes.size(), 1u) << "first box: " << (boxes.empty() ? L"" : boxes[0].text);
  EXPECT_EQ(boxes[0].text, kFinished);
  EXPECT_EQ(boxes[0].title, L"Quorvel Import tool");
  EXPECT_EQ(boxes[0].icon, BoxIcon::kInformation);
  const std::map<std::string, std::vector<std::string>> expected{{"series", {"Subject series "}},
                                                                 {"today", {"Subject today "}}};
  EXPECT_EQ(SavesById(store_), expected);
  EXPECT_EQ(Text(ControlByName(window_, L"Text1")), L"2");
}

TEST_F(LocalOutlook, EachKindOfUndoneWorkIsToldOnceInTheOutcomeBoxAcrossProcesses) {
  RunOutcomeCases(Host::kLocalServer);
}

}  // namespace
}  // namespace quorvel::endtoend

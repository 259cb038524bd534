#include <gtest/gtest.h>

#include "fakes/fake_window.h"

namespace quorvel {
namespace {

using fakes::TestBench;

TEST(OutlookConnection, WithOutlookAndItsWindowNothingIsShownOrLaunched) {
  TestBench bench;
  FormTestAccess::OUTLOOKNMS(bench.form);
  EXPECT_TRUE(bench.form.objOutlook);
  EXPECT_TRUE(bench.form.objNamespace);
  EXPECT_TRUE(bench.window.messages.empty());
  EXPECT_TRUE(bench.outlook.shell_runs.empty());
  EXPECT_EQ(bench.log.calls,
            (std::vector<std::wstring>{
                L"CreateObject(Outlook.Application)", L"Application.GetNamespace(MAPI)",
                L"Application.ActiveExplorer", L"Explorer.CurrentFolder", L"Folder.Name"}));
}

TEST(OutlookConnection, OutlookThatCannotBeCreatedIsReportedAndNothingIsLaunched) {
  TestBench bench;
  bench.outlook.registered = false;
  FormTestAccess::OUTLOOKNMS(bench.form);
  EXPECT_FALSE(bench.form.objOutlook);
  EXPECT_FALSE(bench.form.objNamespace);
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].text,
            L"Error please start outlook\n\nnr.: -2147221005\nDescr: Invalid class string\n"
            L"Source: QuorvelImport");
  EXPECT_EQ(bench.window.messages[0].title, L"Quorvel import");
  EXPECT_TRUE(bench.outlook.shell_runs.empty());
  EXPECT_EQ(bench.form.strFoutContext, L"");
  EXPECT_EQ(bench.form.currentError.number, 0);
}

TEST(OutlookConnection, AFailingNamespaceKeepsTheApplicationAndReportsTheRealFailure) {
  TestBench bench;
  bench.log.Fail(L"Application.GetNamespace(MAPI)",
                 {-2147221233, L"Not found", L"Microsoft Outlook"});
  FormTestAccess::OUTLOOKNMS(bench.form);
  EXPECT_TRUE(bench.form.objOutlook);
  EXPECT_FALSE(bench.form.objNamespace);
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].text,
            L"Error please start outlook\n\nnr.: -2147221233\nDescr: Not found\nSource: Microsoft "
            L"Outlook");
}

TEST(OutlookConnection, NoMainWindowOrNoReadableFolderLaunchesOutlookOnceWithoutAMessage) {
  for (const wchar_t* missing :
       {L"explorer", L"Explorer.CurrentFolder", L"Folder.Name", L"Application.ActiveExplorer"}) {
    TestBench bench;
    if (std::wstring(missing) == L"explorer")
      bench.outlook.explorer_exists = false;
    else
      bench.log.Fail(missing);
    FormTestAccess::OUTLOOKNMS(bench.form);
    EXPECT_EQ(bench.outlook.shell_runs, std::vector<std::wstring>{L"Outlook.exe"}) << missing;
    EXPECT_EQ(bench.log.CountOf(L"CreateObject(WScript.Shell)"), 1);
    EXPECT_TRUE(bench.window.messages.empty());
    EXPECT_TRUE(bench.form.objOutlook && bench.form.objNamespace);
  }
}

TEST(OutlookConnection, AFailingLaunchGoesToTheCaller) {
  TestBench bench;
  bench.outlook.explorer_exists = false;
  bench.log.Fail(L"Shell.Run",
                 {-2147024894, L"The system cannot find the file specified.", L"WshShell.Run"});
  EXPECT_THROW(FormTestAccess::OUTLOOKNMS(bench.form), Error);
  EXPECT_TRUE(bench.form.objOutlook && bench.form.objNamespace);
}

}  // namespace
}  // namespace quorvel

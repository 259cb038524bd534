#include <gtest/gtest.h>

#include "fakes/fake_window.h"

namespace quorvel {
namespace {

using fakes::TestBench;

constexpr wchar_t kFinished[] =
    L"IMPORT FINISHED, wait until the mousepointer is no longer showing a hourglass. Quorvel might "
    L"still be working.";

void Connect(TestBench& bench) {
  FormTestAccess::OUTLOOKNMS(bench.form);
  bench.Mark();
}

TEST(CalendarRun, OpensTheDefaultCalendarReadsItsOwnerRunsThePassesAndEndsWithTheCaption) {
  TestBench bench;
  bench.outlook.Add(L"A", outlook::kSeriesMaster);
  Connect(bench);
  FormTestAccess::AGENDAS(bench.form);
  EXPECT_EQ(bench.outlook.default_folder_requests, std::vector<std::int32_t>{9});
  EXPECT_TRUE(bench.form.objAgenda);
  EXPECT_EQ(bench.form.strAgendaOwner, L"Mailbox - Anna de Vries");
  EXPECT_EQ(bench.outlook.Find(L"A").saved_subjects.size(), 1u);
  EXPECT_EQ(bench.window.progress, kFinished);
  const auto calls = bench.CallsSinceMark();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], std::wstring(L"Form.voortgang=") + kFinished);
  EXPECT_EQ(calls.back(), L"Form.Refresh");
}

TEST(CalendarRun, WithoutANamespaceOnlyTheTouchPassesReportAndTheCaptionStillStands) {
  TestBench bench;
  bench.outlook.namespace_exists = false;
  Connect(bench);
  FormTestAccess::AGENDAS(bench.form);
  EXPECT_FALSE(bench.form.objAgenda);
  EXPECT_EQ(bench.form.strAgendaOwner, L"");
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].text,
            L"error 91 - Object variable or With block variable not set");
  EXPECT_EQ(bench.window.progress, kFinished);
}

TEST(CalendarRun, ASecondRunThatCannotOpenTheCalendarUsesTheFirstRunsFolderAndOwner) {
  TestBench bench;
  bench.outlook.Add(L"A", outlook::kSeriesMaster);
  Connect(bench);
  FormTestAccess::AGENDAS(bench.form);
  const auto first_folder = bench.form.objAgenda;
  bench.log.Fail(L"Namespace.GetDefaultFolder");
  bench.log.Fail(L"Folder.Parent");
  FormTestAccess::AGENDAS(bench.form);
  EXPECT_EQ(bench.form.objAgenda, first_folder);
  EXPECT_EQ(bench.form.strAgendaOwner, L"Mailbox - Anna de Vries");
  EXPECT_EQ(bench.outlook.Find(L"A").saved_subjects.size(), 2u);
}

TEST(CalendarRun, TheCaptionIsSetEvenWhenEveryEarlierStepFails) {
  TestBench bench;
  Connect(bench);
  bench.log.Fail(L"Namespace.GetDefaultFolder");
  bench.log.Fail(L"MsgBox");
  FormTestAccess::AGENDAS(bench.form);
  EXPECT_EQ(bench.window.progress, kFinished);
  EXPECT_EQ(bench.window.refreshes, 1);
}

}  // namespace
}  // namespace quorvel

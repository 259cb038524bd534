#include <gtest/gtest.h>

#include "fakes/fake_window.h"

namespace quorvel {
namespace {

using fakes::TestBench;

TEST(ErrorReport, ShowsFiveLinesWithLineFeedsOnlyThenResetsPointerContextAndError) {
  TestBench bench;
  bench.form.strFoutContext = L"please start outlook";
  bench.form.currentError = {-2147221005, L"Invalid class string", L"QuorvelImport"};
  FormTestAccess::FOUTAFHANDELING(bench.form);
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].text,
            L"Error please start outlook\n\nnr.: -2147221005\nDescr: Invalid class string\n"
            L"Source: QuorvelImport");
  EXPECT_EQ(bench.window.messages[0].style, kCritical);
  EXPECT_EQ(bench.window.messages[0].title, L"Quorvel import");
  EXPECT_EQ(bench.window.pointers, std::vector<int>{kDefaultPointer});
  EXPECT_EQ(bench.form.strFoutContext, L"");
  EXPECT_EQ(bench.form.currentError, ErrorRecord{});
  EXPECT_EQ(bench.log.calls, (std::vector<std::wstring>{L"MsgBox", L"MousePointer=0"}));
}

TEST(ErrorReport, AClearErrorAndEmptyContextStillShowTheBox) {
  TestBench bench;
  FormTestAccess::FOUTAFHANDELING(bench.form);
  ASSERT_EQ(bench.window.messages.size(), 1u);
  EXPECT_EQ(bench.window.messages[0].text, L"Error \n\nnr.: 0\nDescr: \nSource: ");
}

TEST(ErrorReport, TextsWithLineBreaksAreShownUnchanged) {
  TestBench bench;
  bench.form.currentError = {5, L"first\r\nsecond", L"a\nb"};
  FormTestAccess::FOUTAFHANDELING(bench.form);
  EXPECT_EQ(bench.window.messages[0].text,
            L"Error \n\nnr.: 5\nDescr: first\r\nsecond\nSource: a\nb");
}

TEST(ErrorReport, AFailingBoxEndsTheReportWithTheStateUntouched) {
  TestBench bench;
  bench.form.strFoutContext = L"ctx";
  bench.form.currentError = {1, L"d", L"s"};
  bench.log.Fail(L"MsgBox", {7, L"Out of memory", L"QuorvelImport"});
  EXPECT_THROW(FormTestAccess::FOUTAFHANDELING(bench.form), Error);
  EXPECT_TRUE(bench.window.pointers.empty());
  EXPECT_EQ(bench.form.strFoutContext, L"ctx");
}

}  // namespace
}  // namespace quorvel

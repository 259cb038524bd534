#include <gtest/gtest.h>

#include "common/continue_rule.h"
#include "fakes/fake_window.h"

namespace quorvel {
namespace {

// The fakes are what every rule is tested against, so their failure injection must hit
// exactly the call it names and carry the error unchanged.
TEST(Fakes, AnInjectedFailureHitsOnlyTheNamedCallAndCarriesItsError) {
  fakes::TestBench bench;
  bench.outlook.Add(L"A");
  bench.outlook.Add(L"B");
  const ErrorRecord error{-2147352567, L"Cannot save", L"Microsoft Outlook"};
  bench.log.Fail(L"B.Save", error);
  auto app = bench.outlook.factory().CreateApplication(L"Outlook.Application");
  auto items = app->GetNamespace(L"MAPI")->GetDefaultFolder(9)->Items();
  auto pass = items->Enumerate();
  std::shared_ptr<outlook::AppointmentItem> current;
  outlook::Unexamined why;
  ASSERT_EQ(pass->Next(current, why), outlook::Advance::kAppointment);
  EXPECT_NO_THROW(current->Save());
  ASSERT_EQ(pass->Next(current, why), outlook::Advance::kAppointment);
  try {
    current->Save();
    FAIL() << "B.Save should fail";
  } catch (const Error& e) {
    EXPECT_EQ(e.record(), error);
  }
  EXPECT_EQ(pass->Next(current, why), outlook::Advance::kEnd);
  EXPECT_EQ(bench.outlook.Find(L"A").saved_subjects.size(), 1u);
  EXPECT_TRUE(bench.outlook.Find(L"B").saved_subjects.empty());
}

TEST(ContinueRule, DropsAFailureAndKeepsItWhenAsked) {
  EXPECT_TRUE(Continue([] {}));
  EXPECT_FALSE(Continue([] { throw ObjectNotSet(); }));
  const auto kept = ContinueKeepingError([] { throw Error(-5, L"d", L"s"); });
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(*kept, (ErrorRecord{-5, L"d", L"s"}));
  EXPECT_EQ(ContinueKeepingError([] { throw std::bad_alloc(); })->number, 7);
}

}  // namespace
}  // namespace quorvel

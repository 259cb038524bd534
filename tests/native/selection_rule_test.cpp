#include <gtest/gtest.h>

#include "fakes/fake_window.h"

namespace quorvel {
namespace {

using fakes::TestBench;

class StatusOnly final : public outlook::AppointmentItem {
 public:
  explicit StatusOnly(std::int32_t status) : status_(status) {}
  std::int32_t RecurrenceState() override { return 0; }
  std::int32_t BusyStatus() override {
    if (fail_) throw Error(-2147467259, L"Unspecified error", L"Microsoft Outlook");
    return status_;
  }
  std::wstring Subject() override { return {}; }
  void SetSubject(const std::wstring&) override {}
  DateTime Start() override { return {}; }
  void Save() override {}
  std::wstring EntryID() override { return {}; }
  bool fail_ = false;

 private:
  std::int32_t status_;
};

struct Case {
  CheckBox box;
  std::int32_t status;
};

TEST(SelectionRule, EachStatusIsChosenByItsOwnBoxAlone) {
  const Case pairs[] = {{CheckBox::kFree, 0},
                        {CheckBox::kTentative, 1},
                        {CheckBox::kBusy, 2},
                        {CheckBox::kOutOfOffice, 3}};
  for (const Case& pair : pairs) {
    for (const Case& other : pairs) {
      TestBench bench;
      for (auto& [box, value] : bench.window.boxes)
        value = box == other.box ? kChecked : kUnchecked;
      StatusOnly item(pair.status);
      EXPECT_EQ(FormTestAccess::IsChosenAppointment(bench.form, item), pair.box == other.box)
          << "status " << pair.status;
    }
  }
}

TEST(SelectionRule, OnlyTheValueOneCountsAsChecked) {
  TestBench bench;
  for (auto& [box, value] : bench.window.boxes) value = kGrayed;
  for (std::int32_t status = 0; status <= 3; ++status) {
    StatusOnly item(status);
    EXPECT_FALSE(FormTestAccess::IsChosenAppointment(bench.form, item));
  }
}

TEST(SelectionRule, AStatusOutsideTheFourIsNeverChosen) {
  TestBench bench;
  for (std::int32_t status : {-1, 4, 5, 1000}) {
    StatusOnly item(status);
    EXPECT_FALSE(FormTestAccess::IsChosenAppointment(bench.form, item)) << status;
  }
}

TEST(SelectionRule, ReadsTheBoxesAtEveryEvaluationAndPassesAFailedReadOn) {
  TestBench bench;
  StatusOnly item(outlook::kBusy);
  EXPECT_TRUE(FormTestAccess::IsChosenAppointment(bench.form, item));
  bench.window.boxes[CheckBox::kBusy] = kUnchecked;
  EXPECT_FALSE(FormTestAccess::IsChosenAppointment(bench.form, item));
  item.fail_ = true;
  EXPECT_THROW(FormTestAccess::IsChosenAppointment(bench.form, item), Error);
}

}  // namespace
}  // namespace quorvel

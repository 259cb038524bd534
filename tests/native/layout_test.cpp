#include <gtest/gtest.h>

#include <set>

#include "window/layout.h"

namespace quorvel::layout {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

TEST(Layout, EveryControlLiesInsideItsContainer) {
  for (const Control& control : kControls) {
    SCOPED_TRACE(std::wstring(control.name));
    const Rect rect = control.rect;
    EXPECT_GE(rect.left, 0);
    EXPECT_GE(rect.top, 0);
    if (control.container.empty()) {
      EXPECT_LE(rect.right(), kClientWidth);
      EXPECT_LE(rect.bottom(), kClientHeight);
    } else {
      const auto container = Find(control.container);
      ASSERT_TRUE(container.has_value());
      EXPECT_EQ(container->kind, Kind::kFrame);
      EXPECT_LE(rect.right(), container->rect.width);
      EXPECT_LE(rect.bottom(), container->rect.height);
    }
  }
}

TEST(Layout, TabIndexesAreUniqueAndAscendInTableOrder) {
  for (std::size_t i = 0; i < kControls.size(); ++i)
    EXPECT_EQ(kControls[i].tab_index, static_cast<int>(i));
  std::set<std::wstring_view> names;
  for (const Control& control : kControls) EXPECT_TRUE(names.insert(control.name).second);
}

TEST(Layout, TheFocusCycleVisitsTheCheckBoxesInTabOrderNotTopToBottom) {
  std::vector<std::wstring_view> cycle;
  for (const Control& control : kControls) {
    if (TakesFocus(control.kind)) cycle.push_back(control.name);
  }
  const std::vector<std::wstring_view> expected{L"cmdImport",    L"Text1",       L"DTPstartdatum",
                                                L"DTPeinddatum", L"ChkBusy",     L"ChkFree",
                                                L"ChkOOF",       L"ChkTentative"};
  EXPECT_EQ(cycle, expected);
}

TEST(Layout, OnlyTheStackedCheckBoxesOverlapAndOnlyBy15Twips) {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    for (std::size_t j = i + 1; j < kControls.size(); ++j) {
      const Control& a = kControls[i];
      const Control& b = kControls[j];
      // A frame holds its contents; that is containment, not overlap.
      if (a.kind == Kind::kFrame || b.kind == Kind::kFrame) {
        const bool nested =
            b.container == a.name || a.container == b.name ||
            (Find(b.container).has_value() && Find(b.container)->container == a.name);
        if (nested) continue;
      }
      const Rect ra = InClientArea(a);
      const Rect rb = InClientArea(b);
      if (!Overlap(ra, rb)) continue;
      SCOPED_TRACE(std::wstring(a.name) + L" / " + std::wstring(b.name));
      ASSERT_EQ(a.kind, Kind::kCheckBox);
      ASSERT_EQ(b.kind, Kind::kCheckBox);
      EXPECT_EQ(std::min(ra.bottom(), rb.bottom()) - std::max(ra.top, rb.top), 15);
    }
  }
}

TEST(Layout, Frame1LeavesTheStripsOfTheWindowAndConvertsTo96DpiPixels) {
  const Control frame = *Find(L"Frame1");
  EXPECT_EQ(frame.rect.left, 15);
  EXPECT_EQ(kClientWidth - frame.rect.right(), 30);
  EXPECT_EQ(kClientHeight - frame.rect.bottom(), 825);
  EXPECT_EQ(ToPixels(kClientWidth, 96), 292);
  EXPECT_EQ(ToPixels(kClientHeight, 96), 432);
  EXPECT_EQ(ToPixels(kClientWidth, 144), 438);
  EXPECT_EQ(ToPixels(InClientArea(*Find(L"ChkOOF")).top, 96), (0 + 2040 + 720) / 15);
}

}  // namespace
}  // namespace quorvel::layout

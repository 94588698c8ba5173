#include <gtest/gtest.h>

#include "editor/touch_buttons.hpp"
#include "ui/keys.hpp"

namespace {

std::string labels(const std::vector<ui::TouchButton>& buttons) {
  std::string out;
  for (const auto& b : buttons) out += (out.empty() ? "" : " ") + b.label;
  return out;
}

TEST(TouchButtons, ByProductionLevelRightToLeft) {
  EXPECT_TRUE(editor::touchButtons(0, false).empty());
  EXPECT_TRUE(editor::touchButtons(1, true).empty());
  EXPECT_EQ(labels(editor::touchButtons(2, false)), "AK");
  EXPECT_EQ(labels(editor::touchButtons(3, false)), "AK F10 F9 F8 F7 F6 A5 F5 F4 F3 F2 F1");
  EXPECT_EQ(labels(editor::touchButtons(4, true)), "AK F0 F9 F8 F7 F6 A5 F5 F4 F3 F2 F1");
}

TEST(TouchButtons, EachPushesItsKey) {
  const auto b = editor::touchButtons(4, true);
  ASSERT_EQ(b.size(), 12u);
  EXPECT_EQ(b[0].key, 0u);                    // "AK" opens the action keys
  EXPECT_EQ(b[1].key, ui::key::kF10);         // "F0" is still F10
  EXPECT_EQ(b[2].key, ui::key::kF9);
  EXPECT_EQ(b[6].key, ui::key::altFunction(5));
  EXPECT_EQ(b[7].key, ui::key::kF5);
  EXPECT_EQ(b[11].key, ui::key::kF1);
}

}  // namespace

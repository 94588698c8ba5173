// Fitting the edit window's font: a window whose client size and font
// metrics the test sets, the messages and questions through the scripted host.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "editor/font_fit.hpp"
#include "config/settings.hpp"
#include "support/scripted_host.hpp"

namespace {

using testing_support::ScriptedHost;

// By default a font gives exactly the cell it was asked for.
class FakeWindow : public ui::EditWindow {
 public:
  FakeWindow(ui::Host& host, int width, int height) : ui::EditWindow(host), width_(width), height_(height) {}
  bool cellBased() const override { return cells; }
  int cellRows() const override { return 30; }
  int cellColumns() const override { return 100; }
  int clientWidth() const override { return width_; }
  int clientHeight() const override { return height_; }
  ui::FontMetrics useFont(const ui::FontRequest& r) override {
    requests.push_back(r);
    return metrics ? metrics(r) : ui::FontMetrics{r.height, 0, r.width};
  }
  void setCellGeometry(const ui::CellGeometry& g) override { given.push_back(g); }
  void focus() override {}

  bool cells = false;
  std::function<ui::FontMetrics(const ui::FontRequest&)> metrics;
  std::vector<ui::FontRequest> requests;
  std::vector<ui::CellGeometry> given;

 private:
  int width_, height_;
};

class FontFit : public ::testing::Test {
 protected:
  void SetUp() override {
    s.setGridLines(true);
    s.setGrid3d(true);
    s.setBoldFonts(true);
    s.setFontSize(26);
  }
  ScriptedHost host;
  config::SettingsRecord s;
};

// 704 × 610: usable height 584; with 3D grid lines (spacing 8) an 80 × 25
// format gives (584 - 200) / 24 = 16 pixels, 9 wide.
TEST_F(FontFit, AFittingFontKeepsTheGridAndAsksNothing) {
  FakeWindow w(host, 704, 610);
  const editor::FontFit fit = editor::fitEditFont(host, w, s, 64, 25, 1);
  EXPECT_TRUE(host.shown().empty());
  ASSERT_EQ(w.requests.size(), 1u);
  EXPECT_EQ(w.requests[0].height, 16);
  EXPECT_EQ(w.requests[0].width, 9);
  EXPECT_EQ(w.requests[0].weight, 760);
  EXPECT_EQ(fit.geometry.cellHeight, 16 + 8);
  EXPECT_TRUE(fit.geometry.grid3d);
  EXPECT_EQ(fit.rows, 610 / 24);
  EXPECT_EQ(fit.columns, 704 / 9);
  ASSERT_EQ(w.given.size(), 1u);
  EXPECT_FALSE(fit.reformat);
  EXPECT_FALSE(fit.saveSettings);
  EXPECT_EQ(s.fontSize(), 26);  // used clamped to 24, never written back
}

TEST_F(FontFit, TheKeyboardAreaTakesAThirdOrAtLevelFourHalfAndATouchMargin) {
  s.setKeyboardArea(true);
  FakeWindow third(host, 704, 876);  // 876 - 292 = 584
  (void)editor::fitEditFont(host, third, s, 64, 25, 2);
  EXPECT_EQ(third.requests.at(0).height, 16);
  FakeWindow half(host, 704, 1168);  // 1168 - 584 = 584, less the touch margin of 1
  (void)editor::fitEditFont(host, half, s, 64, 25, 4);
  EXPECT_EQ(half.requests.at(0).height, 15);
}

// 400 × 300, 80 × 25: 3 pixels with 3D grid lines, 8 with grid lines, 11
// without; 4 wide (400 / 80 - 1).
TEST_F(FontFit, BothGridMessagesInTurnLeaveBothGridOptionsOffThenVerySmall) {
  FakeWindow w(host, 400, 300);
  host.expectOnce(editor::kNo3dGridText, ui::kIdOk, editor::kFontProblemCaption);
  host.expectOnce(editor::kNoGridText, ui::kIdOk, editor::kFontProblemCaption);
  host.expectOnce(editor::kVerySmallText, ui::kIdYes, editor::kFontErrorCaption);
  const editor::FontFit fit = editor::fitEditFont(host, w, s, 80, 25, 1);
  ASSERT_EQ(host.shown().size(), 3u);
  EXPECT_EQ(host.shown()[0].text, editor::kNo3dGridText);
  EXPECT_EQ(host.shown()[1].text, editor::kNoGridText);
  EXPECT_EQ(host.shown()[2].flags & ui::kMbButtonMask, ui::kMbYesNo);
  EXPECT_FALSE(fit.geometry.gridLines);
  EXPECT_FALSE(fit.geometry.grid3d);
  EXPECT_EQ(fit.geometry.gridSpacing, 0);
  EXPECT_EQ(w.requests.at(0).height, 11);
  EXPECT_EQ(w.requests.at(0).width, 4);
  // Yes: the screens are to be laid out from the preferred size 24.
  EXPECT_TRUE(fit.reformat);
  EXPECT_TRUE(fit.saveSettings);
  EXPECT_TRUE(s.screensReformatted());
  EXPECT_EQ(fit.layoutColumns, 400 / 24 - 1);
  EXPECT_EQ(fit.layoutRows, 274 / (2 * 24 - 2) - 1);
  // The record keeps the user's grid choice for a larger window.
  EXPECT_TRUE(s.gridLines());

  const editor::FontFit again = editor::refitAfterLayout(w, s, fit);
  EXPECT_EQ(w.requests.back().height, 46);
  EXPECT_EQ(w.requests.back().width, 24);
  EXPECT_EQ(w.requests.back().weight, 500);  // bold, but the cells were below 7 wide
  EXPECT_EQ(again.geometry.cellHeight, 46);
  EXPECT_EQ(again.layoutColumns, 399 / 24 - 1);
  EXPECT_EQ(again.layoutRows, 300 / 46 - 1);
  EXPECT_EQ(again.rows, 300 / 46);
  EXPECT_EQ(w.given.back().cellWidth, 24);
}

TEST_F(FontFit, TooLargeAnsweredNoLeavesTheScreensAlone) {
  FakeWindow w(host, 1040, 826);  // (800 - 200) / 24 = 25 high: cells of 33
  host.expectOnce(editor::kTooLargeText, ui::kIdNo, editor::kFontErrorCaption);
  const editor::FontFit fit = editor::fitEditFont(host, w, s, 64, 25, 1);
  EXPECT_EQ(host.countText("Too Large"), 1);
  EXPECT_FALSE(fit.reformat);
  EXPECT_FALSE(fit.saveSettings);
  EXPECT_FALSE(s.screensReformatted());
  EXPECT_EQ(fit.geometry.cellHeight, 33);
}

TEST_F(FontFit, ScreensAlreadyReformattedAreNotAskedAbout) {
  s.setScreensReformatted(true);
  FakeWindow w(host, 1040, 826);
  const editor::FontFit fit = editor::fitEditFont(host, w, s, 64, 25, 1);
  EXPECT_TRUE(host.shown().empty());
  EXPECT_TRUE(fit.reformat);
  EXPECT_FALSE(fit.saveSettings);
  EXPECT_EQ(fit.layoutColumns, 1040 / 24 - 1);
  EXPECT_EQ(fit.layoutRows, 800 / (48 + 8 - 2) - 1);
}

TEST_F(FontFit, AFontHigherThanAskedLoses3dFirstThenShrinks) {
  FakeWindow w(host, 704, 610);
  w.metrics = [](const ui::FontRequest& r) { return ui::FontMetrics{r.height + 10, 2, r.width}; };
  host.expectOnce(editor::kNo3dGridText, ui::kIdOk, editor::kFontProblemCaption);
  host.expectOnce(editor::kVerySmallText, ui::kIdNo, editor::kFontErrorCaption);
  const editor::FontFit fit = editor::fitEditFont(host, w, s, 64, 25, 1);
  // Spacing 3 allows (584 - 75) / 24 = 21: characters of 26, 25 ... 21.
  EXPECT_EQ(w.requests.back().height, 11);
  EXPECT_EQ(w.requests.back().width, 6);  // 0.556 × 11
  EXPECT_EQ(w.requests.size(), 6u);
  EXPECT_TRUE(fit.geometry.gridLines);
  EXPECT_FALSE(fit.geometry.grid3d);
  EXPECT_EQ(fit.geometry.cellHeight, 21 + 3);
  EXPECT_EQ(fit.geometry.internalLeading, 2);
}

TEST_F(FontFit, TheShrinkLoopEndsForAFontThatNeverGetsSmaller) {
  host.allowAnything();
  // 25 rows start at 73 pixels and stop at 1; 3 rows start at 975 and stop
  // at the step limit.
  for (int rows : {25, 3}) {
    s.setScreensReformatted(false);
    FakeWindow w(host, 704, 2000);
    w.metrics = [](const ui::FontRequest&) { return ui::FontMetrics{5000, 0, 5000}; };
    (void)editor::fitEditFont(host, w, s, 80, rows, 1);
    EXPECT_LE(w.requests.size(), static_cast<std::size_t>(editor::kMaxShrinkSteps) + 1) << rows;
    for (const ui::FontRequest& r : w.requests) {
      EXPECT_GE(r.height, 1);
      EXPECT_GE(r.width, 1);
    }
    if (rows == 25) EXPECT_EQ(w.requests.back().height, 1);
    else EXPECT_GT(w.requests.back().height, 1);
  }
}

TEST_F(FontFit, AOneRowFormatDividesByOne) {
  FakeWindow w(host, 704, 610);
  host.expectOnce(editor::kTooLargeText, ui::kIdNo, editor::kFontErrorCaption);
  const editor::FontFit fit = editor::fitEditFont(host, w, s, 80, 1, 1);
  EXPECT_EQ(w.requests.at(0).height, 584 - 8);
  EXPECT_EQ(w.requests.at(0).width, 704 / 80 - 1);
  EXPECT_EQ(fit.rows, 1);
}

TEST_F(FontFit, ANoneFormatIsTwoColumnsByThreeRows) {
  s.setGridLines(false);
  FakeWindow w(host, 704, 610);
  host.allowAnything();
  (void)editor::fitEditFont(host, w, s, 0, 25, 1);
  EXPECT_EQ(w.requests.at(0).height, 584 / 2);
  EXPECT_EQ(w.requests.at(0).width, 175);  // 0.6 × 292, below 704 / 2 - 1
}

TEST_F(FontFit, ACellBasedWindowFitsNothing) {
  FakeWindow w(host, 100, 30);
  w.cells = true;
  s.setTallCursor(true);
  const editor::FontFit fit = editor::fitEditFont(host, w, s, 80, 25, 3);
  EXPECT_TRUE(w.requests.empty());
  EXPECT_TRUE(host.shown().empty());
  EXPECT_EQ(fit.rows, 30);
  EXPECT_EQ(fit.columns, 100);
  EXPECT_EQ(fit.geometry.cellWidth, 1);
  EXPECT_EQ(fit.geometry.cellHeight, 1);
  EXPECT_FALSE(fit.geometry.gridLines);
  EXPECT_TRUE(fit.geometry.tallCursor);
  EXPECT_FALSE(fit.reformat);
  ASSERT_EQ(w.given.size(), 1u);
}

}  // namespace

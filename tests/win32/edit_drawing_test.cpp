// The edit window's drawing, read back pixel by pixel from its DC: cells in
// their colours, frame lines in the frame colour, grid lines, the part
// outside the cells white, runs longer than one text output, and the cursor
// inverted on and off without ever leaving a mark.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "edit_window_fixture.hpp"
#include "resource.h"
#include "ui/palette.hpp"

namespace {

COLORREF colour(int index) {
  ui::Rgb c = ui::paletteRgb(index);
  return RGB(c.r, c.g, c.b);
}
const COLORREF kFrame = RGB(ui::kFrameRgb.r, ui::kFrameRgb.g, ui::kFrameRgb.b);

class EditWindowDrawing : public win32_test::EditWindowFixture {
 protected:
  void SetUp() override {
    EditWindowFixture::SetUp();
    if (IsSkipped()) return;
    open();
    ui::FontMetrics m = window_->useFont(ui::FontRequest{16, 9, 400});
    ASSERT_GT(m.charHeight, 0);
    ASSERT_GT(m.averageWidth, 0);
    geometry_.cellWidth = m.averageWidth;
    geometry_.cellHeight = m.charHeight;
    geometry_.internalLeading = m.internalLeading;
    window_->setCellGeometry(geometry_);
  }
  void useGeometry(const ui::CellGeometry& g) {
    geometry_ = g;
    window_->setCellGeometry(g);
  }

  int w() const { return geometry_.cellWidth; }
  int h() const { return geometry_.cellHeight; }
  RECT cell(int row, int col) const { return RECT{(col - 1) * w(), (row - 1) * h(), col * w(), row * h()}; }
  // The window's own DC: what is on the window.
  COLORREF pixel(int x, int y) const { return GetPixel(GetDC(edit_), x, y); }
  COLORREF topLeft(int row, int col) const { return pixel(cell(row, col).left, cell(row, col).top); }
  COLORREF bottomLeft(int row, int col) const { return pixel(cell(row, col).left, cell(row, col).bottom - 1); }
  bool cellShows(int row, int col, COLORREF c) const {
    RECT rc = cell(row, col);
    for (int y = rc.top; y < rc.bottom; ++y)
      for (int x = rc.left; x < rc.right; ++x)
        if (pixel(x, y) == c) return true;
    return false;
  }
  void blink() { send(WM_TIMER, IDT_EDIT_CURSOR, 0); }

  ui::CellGeometry geometry_;
};

TEST_F(EditWindowDrawing, CellsShowTheirTextAndBackgroundColours) {
  screen_.setTextColour(ui::kBlack);
  screen_.setBackColour(ui::kYellow);
  (void)screen_.gotoCell(2, 3);
  screen_.putText("HHHH");
  screen_.setTextColour(ui::kWhite);
  screen_.setBackColour(ui::kDkBlue);
  (void)screen_.gotoCell(4, 5);
  screen_.putText("IIII");
  (void)screen_.suspendCursor(true);
  host_.pump();

  for (int col = 3; col <= 6; ++col) {
    EXPECT_EQ(topLeft(2, col), colour(ui::kYellow)) << col;
    EXPECT_TRUE(cellShows(2, col, colour(ui::kBlack))) << "no black text in cell 2," << col;
    EXPECT_EQ(topLeft(4, col + 2), colour(ui::kDkBlue)) << col;
    EXPECT_TRUE(cellShows(4, col + 2, colour(ui::kWhite))) << "no white text in cell 4," << col + 2;
  }
  EXPECT_EQ(topLeft(2, 7), colour(ui::kWhite)) << "the run ends with its text";
  EXPECT_FALSE(cellShows(2, 7, colour(ui::kBlack)));
  EXPECT_EQ(topLeft(4, 4), colour(ui::kWhite));
  // Right of the last column and below the last row: white.
  EXPECT_EQ(pixel(screen_.cols() * w() + 3, 2 * h() - 2), colour(ui::kWhite));
  EXPECT_EQ(pixel(2, screen_.rows() * h() + 2), colour(ui::kWhite));

  // A change is drawn at the next pump: the text's row only.
  screen_.setBackColour(ui::kRed);
  (void)screen_.gotoCell(2, 3);
  screen_.putText(" ");
  host_.pump();
  EXPECT_EQ(topLeft(2, 3), colour(ui::kRed));
  EXPECT_EQ(topLeft(2, 4), colour(ui::kYellow));
}

TEST_F(EditWindowDrawing, AScreenMadeSmallerLeavesNothingOfItsOldCellsBehind) {
  screen_.setBackColour(ui::kBlue);
  (void)screen_.gotoCell(10, 30);
  screen_.putText("  ");
  host_.pump();
  ASSERT_EQ(topLeft(10, 30), colour(ui::kBlue));
  screen_.resize(5, 20);
  host_.pump();
  EXPECT_EQ(topLeft(10, 30), colour(ui::kWhite));
}

TEST_F(EditWindowDrawing, FrameLinesRunTwoPixelsWideThroughTheCellCentres) {
  screen_.drawBox(4, 6, 6, 12);  // its frame runs through rows 3 and 7, columns 5 and 13
  (void)screen_.suspendCursor(true);
  host_.pump();

  auto centre = [this](int row, int col) {
    RECT rc = cell(row, col);
    return POINT{rc.left + w() / 2, rc.top + h() / 2};
  };
  // The top-left corner: lines to the right and down only.
  POINT c = centre(3, 5);
  EXPECT_EQ(pixel(c.x, c.y), kFrame);
  EXPECT_EQ(pixel(c.x - 1, c.y - 1), kFrame) << "two pixels wide";
  EXPECT_EQ(pixel(cell(3, 5).right - 1, c.y), kFrame);
  EXPECT_EQ(pixel(c.x, cell(3, 5).bottom - 1), kFrame);
  EXPECT_EQ(pixel(cell(3, 5).left, c.y), colour(ui::kWhite)) << "no line to the left of a corner";
  EXPECT_EQ(pixel(c.x, cell(3, 5).top), colour(ui::kWhite)) << "no line above a corner";
  // The top edge runs across its cell; the left edge down its cell.
  c = centre(3, 9);
  EXPECT_EQ(pixel(cell(3, 9).left, c.y), kFrame);
  EXPECT_EQ(pixel(cell(3, 9).right - 1, c.y), kFrame);
  EXPECT_EQ(pixel(c.x, c.y - 3), colour(ui::kWhite));
  c = centre(5, 5);
  EXPECT_EQ(pixel(c.x, cell(5, 5).top), kFrame);
  EXPECT_EQ(pixel(c.x, cell(5, 5).bottom - 1), kFrame);
  EXPECT_EQ(pixel(c.x + 2, c.y), colour(ui::kWhite));
  // The bottom-right corner, and the inside of the box.
  c = centre(7, 13);
  EXPECT_EQ(pixel(cell(7, 13).left, c.y), kFrame);
  EXPECT_EQ(pixel(c.x, cell(7, 13).top), kFrame);
  EXPECT_EQ(pixel(cell(7, 13).right - 1, c.y), colour(ui::kWhite));
  EXPECT_FALSE(cellShows(5, 9, kFrame));
}

TEST_F(EditWindowDrawing, RunsLongerThanOneTextOutputAreDrawnWhole) {
  screen_.resize(2, 300);
  ui::CellGeometry narrow = geometry_;
  narrow.cellWidth = 3;
  useGeometry(narrow);
  RECT client{};
  GetClientRect(edit_, &client);
  if (client.right < 300 * 3) GTEST_SKIP() << "the window is only " << client.right << " pixels wide";
  screen_.setBackColour(ui::kGreen);
  (void)screen_.gotoCell(1, 1);
  screen_.putText(std::string(255, ' '));
  screen_.putText(std::string(45, ' '));  // one run of 300 cells
  (void)screen_.suspendCursor(true);
  host_.pump();
  for (int col : {1, 255, 256, 300}) EXPECT_EQ(topLeft(1, col), colour(ui::kGreen)) << col;
  EXPECT_EQ(pixel(300 * 3 + 1, 1), colour(ui::kWhite));
}

TEST_F(EditWindowDrawing, GridLinesRunBetweenTheCellsAndThe3dGridAddsALightLine) {
  ui::CellGeometry grid = geometry_;
  grid.gridLines = true;
  grid.gridSpacing = 3;
  grid.cellHeight += 3;
  useGeometry(grid);
  screen_.setBackColour(ui::kYellow);
  (void)screen_.gotoCell(2, 1);
  screen_.putText("   ");
  (void)screen_.suspendCursor(true);
  host_.pump();
  RECT rc = cell(2, 2);
  EXPECT_EQ(pixel(rc.right - 1, rc.top + 2), colour(ui::kDkGray));
  EXPECT_EQ(pixel(rc.left + 2, rc.bottom - 1), colour(ui::kDkGray));
  EXPECT_EQ(pixel(rc.left + 2, rc.top + 1), colour(ui::kYellow));
  EXPECT_EQ(pixel(rc.left, rc.top + 2), colour(ui::kYellow)) << "no light line without 3D";

  grid.grid3d = true;
  grid.gridSpacing = 8;
  grid.cellHeight += 5;
  useGeometry(grid);
  host_.pump();
  rc = cell(2, 2);
  EXPECT_EQ(pixel(rc.left, rc.top + 2), colour(ui::kWhite));
  EXPECT_EQ(pixel(rc.left + 2, rc.top), colour(ui::kWhite));
  EXPECT_EQ(pixel(rc.right - 1, rc.top + 2), colour(ui::kDkGray));
  EXPECT_EQ(pixel(rc.left + 2, rc.top + 2), colour(ui::kYellow));
}

TEST_F(EditWindowDrawing, OverwriteCursorIsAnUnderlineTheBlinkInvertsOnAndOff) {
  (void)screen_.gotoCell(3, 5);
  host_.pump();
  const int underline = (h() - 2) / 6;
  ASSERT_TRUE(view().cursorDrawn());
  EXPECT_EQ(bottomLeft(3, 5), colour(ui::kBlack)) << "white inverted";
  EXPECT_EQ(pixel(cell(3, 5).right - 1, cell(3, 5).bottom - underline), colour(ui::kBlack));
  EXPECT_EQ(pixel(cell(3, 5).left, cell(3, 5).bottom - underline - 1), colour(ui::kWhite));
  EXPECT_EQ(pixel(cell(3, 6).left, cell(3, 6).bottom - 1), colour(ui::kWhite));

  blink();
  EXPECT_FALSE(view().cursorDrawn());
  EXPECT_EQ(bottomLeft(3, 5), colour(ui::kWhite));
  blink();
  EXPECT_EQ(bottomLeft(3, 5), colour(ui::kBlack));

  // The tall cursor covers all of the cell but 10 pixels.
  ui::CellGeometry tall = geometry_;
  tall.tallCursor = true;
  tall.cellHeight = std::max(tall.cellHeight, 14);
  useGeometry(tall);
  host_.pump();
  ASSERT_TRUE(view().cursorDrawn());
  EXPECT_EQ(pixel(cell(3, 5).left, cell(3, 5).bottom - (h() - 10)), colour(ui::kBlack));
  EXPECT_EQ(pixel(cell(3, 5).left, cell(3, 5).bottom - (h() - 10) - 1), colour(ui::kWhite));
}

TEST_F(EditWindowDrawing, InsertCursorIsHalfACellWideOverTheLowerPartOfTheCell) {
  (void)screen_.gotoCell(3, 5);
  (void)screen_.setInsertCursor(true);
  host_.pump();
  ASSERT_TRUE(view().cursorDrawn());
  const RECT rc = cell(3, 5);
  const int height = h() * 6 / 10;
  EXPECT_EQ(pixel(rc.left, rc.bottom - 1), colour(ui::kBlack));
  EXPECT_EQ(pixel(rc.left + w() / 2 - 1, rc.bottom - height), colour(ui::kBlack));
  EXPECT_EQ(pixel(rc.left + w() / 2, rc.bottom - 1), colour(ui::kWhite));
  EXPECT_EQ(pixel(rc.left, rc.bottom - height - 1), colour(ui::kWhite));
}

TEST_F(EditWindowDrawing, CursorIsTakenOffBeforeDrawingSoItNeverLeavesAMark) {
  (void)screen_.gotoCell(3, 5);
  host_.pump();
  ASSERT_EQ(bottomLeft(3, 5), colour(ui::kBlack));

  // Its row drawn again while it stays: inverted once, not twice or left over.
  screen_.clearRegion(3, 10, 3, 12, true);
  host_.pump();
  EXPECT_EQ(bottomLeft(3, 10), colour(ui::kBlack)) << "the inverse clear";
  EXPECT_EQ(bottomLeft(3, 5), colour(ui::kBlack));
  blink();
  EXPECT_EQ(bottomLeft(3, 5), colour(ui::kWhite));
  blink();

  // Moved: off where it was, on where it is.
  (void)screen_.gotoCell(4, 8);
  host_.pump();
  EXPECT_EQ(bottomLeft(3, 5), colour(ui::kWhite));
  EXPECT_EQ(bottomLeft(4, 8), colour(ui::kBlack));

  // Text written over it moves it on; the cells come out in their own colours.
  screen_.setBackColour(ui::kGreen);
  (void)screen_.gotoCell(4, 7);
  screen_.putText("  ");
  host_.pump();
  EXPECT_EQ(bottomLeft(4, 7), colour(ui::kGreen));
  EXPECT_EQ(bottomLeft(4, 8), colour(ui::kGreen));
  EXPECT_EQ(bottomLeft(4, 9), colour(ui::kBlack)) << "the cursor after the text";

  // Suspended: taken off, and the blink leaves it off.
  (void)screen_.suspendCursor(true);
  host_.pump();
  EXPECT_EQ(bottomLeft(4, 9), colour(ui::kWhite));
  blink();
  blink();
  EXPECT_EQ(bottomLeft(4, 9), colour(ui::kWhite));
  EXPECT_FALSE(view().cursorDrawn());

  // A paint of part of the window (uncovered) keeps the cursor whole.
  (void)screen_.suspendCursor(false);
  host_.pump();
  ASSERT_TRUE(view().cursorDrawn());
  RECT part = cell(4, 9);
  part.right = part.left + w() / 2;
  InvalidateRect(edit_, &part, FALSE);
  UpdateWindow(edit_);
  EXPECT_EQ(bottomLeft(4, 9), colour(ui::kBlack));
  EXPECT_EQ(pixel(cell(4, 9).right - 1, cell(4, 9).bottom - 1), colour(ui::kBlack));
  blink();
  EXPECT_EQ(bottomLeft(4, 9), colour(ui::kWhite));
  EXPECT_EQ(pixel(cell(4, 9).right - 1, cell(4, 9).bottom - 1), colour(ui::kWhite));
}

}  // namespace

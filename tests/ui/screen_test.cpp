// The character-cell model of the edit window: text, colours, clearing,
// frames, image slots and the change tracking the front ends draw from.
#include "ui/screen.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using ui::Screen;

TEST(ScreenText, LongTextIsCutTo255AndTheColumnAdvancesByWhatWasWritten) {
  Screen s(5, 400);
  s.gotoCell(2, 1);
  s.putTextN(std::string(300, 'x'), 300);
  EXPECT_EQ(s.col(), 256);
  EXPECT_EQ(s.at(2, 255).ch, 'x');
  EXPECT_EQ(s.at(2, 256).ch, ' ');
  s.gotoCell(3, 1);
  s.putText(std::string(300, 'y'));
  EXPECT_EQ(s.col(), 256);
  EXPECT_EQ(s.at(3, 256).ch, ' ');
}

TEST(ScreenText, WritesAreClippedAndTheCursorStaysOnTheScreen) {
  Screen s(3, 10);
  EXPECT_EQ((s.gotoCell(9, 40)), (std::array<int, 2>{0, 0}));
  EXPECT_EQ(s.row(), 3);
  EXPECT_EQ(s.col(), 10);
  s.putText("abc");  // only the last cell of the row takes a character
  EXPECT_EQ(s.at(3, 10).ch, 'a');
  s.gotoCell(-4, 0);
  EXPECT_EQ(s.row(), 1);
  EXPECT_EQ(s.col(), 1);
  s.clearRegion(-5, -5, 50, 50, true);  // a rectangle past every edge clears the screen
  EXPECT_EQ(s.at(3, 10).bg, ui::kBlack);
}

TEST(ScreenColours, IndicesAreClampedAndTheCellsTakeThePairInForce) {
  Screen s(2, 10);
  s.setTextColour(20);
  EXPECT_EQ(s.textColour(), ui::kBlack);
  EXPECT_EQ(s.setBackColour(-3), ui::kWhite);
  EXPECT_EQ(s.backColour(), ui::kWhite);
  s.setBackColour(ui::kDkBlue);
  s.gotoCell(1, 1);
  s.putText("A");
  EXPECT_EQ(s.at(1, 1).fg, ui::kBlack);
  EXPECT_EQ(s.at(1, 1).bg, ui::kDkBlue);
  EXPECT_EQ(ui::paletteRgb(20), (ui::Rgb{0, 0, 0}));
  EXPECT_EQ(ui::paletteRgb(-3), (ui::Rgb{255, 255, 255}));
  EXPECT_STREQ(ui::colourName(13), "DkTeal");
  EXPECT_EQ(ui::paletteRgb(11), (ui::Rgb{0, 96, 0}));
}

TEST(ScreenColours, AnInverseClearKeepsTheColoursSelectedBefore) {
  Screen s(4, 10);
  s.setTextColour(ui::kRed);
  s.setBackColour(ui::kDkTeal);
  s.clearScreen(true);
  EXPECT_EQ(s.at(2, 2).bg, ui::kBlack);
  EXPECT_EQ(s.backColour(), ui::kDkTeal);
  EXPECT_EQ(s.textColour(), ui::kRed);
  s.clearRegion(1, 1, 1, 3);
  EXPECT_EQ(s.at(1, 3).bg, ui::kWhite);
  EXPECT_EQ(s.at(1, 4).bg, ui::kBlack);
}

TEST(ScreenImages, TheEleventhPushFailsAndAFreedHandleIsReused) {
  Screen s(3, 5);
  int handles[10];
  for (int i = 0; i < 10; ++i) handles[i] = s.pushImage();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(handles[i], i + 1);
  s.gotoCell(1, 1);
  s.putText("X");
  EXPECT_EQ(s.pushImage(), 0);
  EXPECT_EQ(s.at(1, 1).ch, 'X');  // a failed push draws nothing
  EXPECT_TRUE(s.popImage(4));
  EXPECT_EQ(s.at(1, 1).ch, ' ');  // the image taken before the X
  EXPECT_EQ(s.pushImage(), 4);
  // The editor's own slots are apart from the pop-ups'.
  EXPECT_EQ(s.pushEditorImage(), 11);
}

TEST(ScreenImages, ShowingAFreeSlotFailsAndLeavesTheScreen) {
  Screen s(3, 5);
  s.gotoCell(2, 2);
  s.putText("Q");
  const std::uint64_t before = s.changeCount();
  EXPECT_FALSE(s.showImage(3));
  EXPECT_FALSE(s.showImage(0));
  EXPECT_FALSE(s.popImage(-1));
  EXPECT_FALSE(s.freeImage(16));
  EXPECT_EQ(s.changeCount(), before);
  int h = s.pushImage();
  s.putText("R");
  EXPECT_TRUE(s.showImage(h));
  EXPECT_EQ(s.at(2, 3).ch, ' ');
  EXPECT_TRUE(s.imageInUse(h));  // shown, not freed
  EXPECT_TRUE(s.freeImage(h));
  EXPECT_FALSE(s.imageInUse(h));
}

TEST(ScreenImages, WholeWindowSlotsAreClampedSavedOnceAndRestoredOnce) {
  Screen s(3, 5);
  s.gotoCell(1, 1);
  s.putText("A");
  EXPECT_TRUE(s.saveWindow(9));  // slot 4
  s.gotoCell(1, 1);
  s.putText("B");
  EXPECT_TRUE(s.saveWindow(4));  // in use: nothing is saved, success reported
  EXPECT_TRUE(s.restoreWindow(4));
  EXPECT_EQ(s.at(1, 1).ch, 'A');
  EXPECT_FALSE(s.restoreWindow(4));  // free now: nothing drawn
  EXPECT_EQ(s.at(1, 1).ch, 'A');
}

TEST(ScreenFrames, ABoxIsClearedAndFramedOneCellOutside) {
  Screen s(10, 20);
  s.gotoCell(5, 5);
  s.putText("xxxxxxxx");
  s.drawBox(4, 4, 6, 10);
  EXPECT_EQ(s.at(5, 5).ch, ' ');
  EXPECT_EQ(ui::frameGlyph(s.at(3, 3).frame), U'┌');
  EXPECT_EQ(ui::frameGlyph(s.at(3, 11).frame), U'┐');
  EXPECT_EQ(ui::frameGlyph(s.at(7, 3).frame), U'└');
  EXPECT_EQ(ui::frameGlyph(s.at(7, 11).frame), U'┘');
  EXPECT_EQ(ui::frameGlyph(s.at(3, 6).frame), U'─');
  EXPECT_EQ(ui::frameGlyph(s.at(5, 3).frame), U'│');
  EXPECT_EQ(s.at(5, 4).frame, 0);
  // Clearing the cells takes their frame lines away; writing over one too.
  s.clearRegion(3, 3, 3, 5);
  EXPECT_EQ(s.at(3, 3).frame, 0);
  s.gotoCell(5, 3);
  s.putText("T");
  EXPECT_EQ(s.at(5, 3).frame, 0);
}

TEST(ScreenChanges, RowsAreMarkedDirtyAndTheCounterMovesOnlyOnChange) {
  Screen s(4, 8);
  s.clearDirty();
  const std::uint64_t c0 = s.changeCount();
  s.gotoCell(3, 2);
  EXPECT_GT(s.changeCount(), c0);
  EXPECT_FALSE(s.anyDirty());  // the cursor moved; no cell changed
  s.putText("hi");
  EXPECT_TRUE(s.rowDirty(3));
  EXPECT_FALSE(s.rowDirty(2));
  s.clearDirty();
  const std::uint64_t c1 = s.changeCount();
  s.gotoCell(3, 2);
  s.putText("hi");  // the same cells again
  EXPECT_FALSE(s.anyDirty());
  EXPECT_EQ(s.rowText(3), " hi     ");
  EXPECT_GE(s.changeCount(), c1);
}

TEST(ScreenCursor, SuspendingAndTheInsertShapeReportTheirPreviousState) {
  Screen s(4, 8);
  s.gotoCell(2, 3);
  EXPECT_TRUE(s.cursor().visible(s.rows(), s.cols()));
  EXPECT_FALSE(s.suspendCursor(true));
  EXPECT_FALSE(s.cursor().visible(s.rows(), s.cols()));
  EXPECT_TRUE(s.suspendCursor(false));
  EXPECT_FALSE(s.setInsertCursor(true));
  EXPECT_TRUE(s.cursor().insert);
  EXPECT_TRUE(s.setInsertCursor(false));
  s.resize(2, 2);  // images go, the cursor is kept inside
  EXPECT_EQ(s.row(), 2);
  EXPECT_EQ(s.col(), 2);
}

}  // namespace

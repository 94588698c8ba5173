// The text editors, and what every editor shares: the first key, copy and
// paste, clicks, the abort code, wait-when-full and the edited cell's colours.
#include "editor/edit_text.hpp"

#include <gtest/gtest.h>

#include "editor/edit_number.hpp"
#include "editor_rig.hpp"

namespace editor_tests {
namespace {

namespace k = ui::key;
using editor::edit_key::kCtrlC;
using editor::edit_key::kCtrlF;
using editor::edit_key::kCtrlV;

TEST(EditText, FullFieldInInsertModeReturnsEnterAfterTheThirdCharacter) {
  EditorRig rig;
  std::string buffer = "xyz";
  rig.type("abcd");
  EXPECT_EQ(rig.run(editor::editText, textField(3), buffer), k::kEnter);
  EXPECT_EQ(buffer, "abc");
  EXPECT_TRUE(rig.changed);
  EXPECT_EQ(rig.keysLeft(), 1);  // the 'd' was never taken
}

TEST(EditText, FirstPrintableKeyClearsTheField) {
  EditorRig rig;
  std::string buffer = "hello";
  rig.type("a").key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editText, textField(5), buffer), k::kEnter);
  EXPECT_EQ(buffer, "a    ");
}

TEST(EditText, BackspaceAtTheFirstPositionReturnsLeft) {
  EditorRig rig;
  std::string buffer = "     ";
  rig.key(k::kBackspace);
  EXPECT_EQ(rig.run(editor::editText, textField(5), buffer), k::kLeft);
  EXPECT_EQ(buffer, "     ");
  EXPECT_FALSE(rig.changed);
}

TEST(EditText, OutsideFieldEditLeftRightReturnAndBackspaceBlanks) {
  EditorRig rig;
  std::string buffer = "     ";
  rig.type("abc").key(k::kBackspace).type("x").key(k::kRight);
  EXPECT_EQ(rig.run(editor::editText, textField(5), buffer), k::kRight);
  EXPECT_EQ(buffer, "abx  ");

  EditorRig left;
  std::string kept = "abc";
  left.key(k::kLeft);
  EXPECT_EQ(left.run(editor::editText, textField(3), kept), k::kLeft);
  EXPECT_EQ(kept, "abc");
  EXPECT_FALSE(left.changed);
}

TEST(EditText, FieldEditMovesInsideAndBackspaceClosesTheGap) {
  EditorRig rig;
  std::string buffer = "abcd  ";
  rig.key(kCtrlF).key(k::kRight).key(k::kRight).then([&] {
    EXPECT_EQ(rig.cursorOffset(), 2);
    EXPECT_TRUE(rig.screen.cursor().insert);  // insert mode shows the half-cell block
  });
  rig.key(k::kBackspace).then([&] { EXPECT_EQ(rig.cellText(6), "acd   "); });
  rig.key(k::kInsert).then([&] { EXPECT_FALSE(rig.screen.cursor().insert); });
  rig.type("X").key(k::kLeft).key(k::kLeft).key(k::kLeft);
  // Overwrite put X over c; Left at the first position leaves the field.
  EXPECT_EQ(rig.run(editor::editText, textField(6), buffer), k::kLeft);
  EXPECT_EQ(buffer, "aXd   ");
  EXPECT_FALSE(rig.screen.cursor().insert);
}

TEST(EditText, RightAtTheEndOfFieldEditReturnsRight) {
  EditorRig rig;
  std::string buffer = "ab";
  rig.key(kCtrlF).key(k::kRight).key(k::kRight);
  EXPECT_EQ(rig.run(editor::editText, textField(2), buffer), k::kRight);
  EXPECT_FALSE(rig.changed);
}

TEST(EditText, InsertOutsideFieldEditSwitchesToOverwrite) {
  EditorRig rig;
  std::string buffer = "hello";
  // Outside field-edit mode Insert does not toggle: twice is still overwrite.
  rig.key(k::kInsert).key(editor::edit_key::kAltI).then([&] {
    EXPECT_FALSE(rig.screen.cursor().insert);
  });
  rig.type("J").key(k::kTab);
  EXPECT_EQ(rig.run(editor::editText, textField(5), buffer), k::kTab);
  EXPECT_EQ(buffer, "Jello");
}

TEST(EditText, DeleteRemovesTheCharacterAndPads) {
  EditorRig rig;
  std::string buffer = "abcde";
  rig.key(k::kDelete).key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editText, textField(5), buffer), k::kEnter);
  EXPECT_EQ(buffer, "bcde ");
}

TEST(EditText, UpperCaseTurnsLettersToCapitals) {
  EditorRig rig;
  editor::FieldOptions opts = textField(4);
  opts.upperCase = true;
  std::string buffer;
  rig.type("ab1\xe9");
  EXPECT_EQ(rig.run(editor::editText, opts, buffer), k::kEnter);
  EXPECT_EQ(buffer, "AB1\xc9");  // é to É in Windows-1252
}

TEST(EditText, WaitWhenFullShowsTheValueAndReturnsTheNextKey) {
  EditorRig rig;
  editor::FieldOptions opts = textField(2);
  opts.waitWhenFull = true;
  std::string buffer;
  rig.type("ab").then([&] { EXPECT_EQ(rig.cellText(2), "ab"); }).key(k::kDown);
  EXPECT_EQ(rig.run(editor::editText, opts, buffer), k::kDown);
  EXPECT_EQ(buffer, "ab");
  EXPECT_EQ(rig.keysLeft(), 0);
}

TEST(EditText, CopyAndPasteGoThroughTheSharedBuffer) {
  EditorRig rig;
  std::string first = "abc  ";
  rig.key(kCtrlC).key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editText, textField(5), first), k::kEnter);
  EXPECT_TRUE(rig.copy.valid);
  EXPECT_EQ(rig.copy.text, "abc  ");
  EXPECT_FALSE(rig.changed);

  EditorRig paste;
  paste.copy = rig.copy;
  std::string second = "zzzzzzz";
  paste.key(k::kShiftInsert).key(k::kEnter);
  EXPECT_EQ(paste.run(editor::editText, textField(7), second), k::kEnter);
  EXPECT_EQ(second, "abc    ");
  EXPECT_TRUE(paste.changed);
}

TEST(EditText, APasteLongerThanTheFieldIsRefusedWithABeep) {
  EditorRig rig;
  rig.copy.set("abcdef", 0);
  std::string buffer = "xyz";
  rig.key(kCtrlV).key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editText, textField(3), buffer), k::kEnter);
  EXPECT_EQ(buffer, "xyz");
  EXPECT_EQ(rig.host.beeps(), 1);
}

TEST(EditText, ClickOnTheCellMovesThePositionElsewhereReturns513) {
  EditorRig rig;
  std::string buffer = "abcde";
  // The cell starts at row 3, column 10: column 12 is its third character.
  rig.key(kCtrlF).click(3, 12).type("X").key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editText, textField(5), buffer), k::kEnter);
  EXPECT_EQ(buffer, "abXcd");

  EditorRig away;
  std::string kept = "abcde";
  away.type("q").click(3, 15);  // one past the cell's end
  EXPECT_EQ(away.run(editor::editText, textField(5), kept), k::kMouseClick);
  EXPECT_EQ(kept, "q    ");
}

TEST(EditText, AbortLeavesTheBufferUnchanged) {
  EditorRig rig;
  std::string buffer = "abc";
  rig.type("xy");  // then the script ends and the queue is aborted
  EXPECT_EQ(rig.run(editor::editText, textField(3), buffer), k::kAbort);
  EXPECT_EQ(buffer, "abc");
  EXPECT_FALSE(rig.changed);
}

TEST(EditText, TheEditedCellIsDrawnWhiteOnBlackWithTheCursorAtThePosition) {
  EditorRig rig;
  rig.screen.setTextColour(ui::kBlue);
  std::string buffer = "     ";
  rig.type("ab").then([&] {
    EXPECT_EQ(rig.cellText(5), "ab   ");
    for (int c = 0; c < 5; ++c) {
      const ui::ScreenCell& cell = rig.screen.at(rig.spot.row, rig.spot.col + c);
      EXPECT_EQ(cell.fg, ui::kWhite);
      EXPECT_EQ(cell.bg, ui::kBlack);
    }
    EXPECT_EQ(rig.screen.at(rig.spot.row, rig.spot.col + 5).bg, ui::kWhite);  // not past the cell
    EXPECT_EQ(rig.screen.row(), rig.spot.row);
    EXPECT_EQ(rig.cursorOffset(), 2);
    EXPECT_EQ(rig.screen.textColour(), ui::kBlue);  // the caller's colours are back
  });
  rig.key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editText, textField(5), buffer), k::kEnter);
}

TEST(EditScrollText, ShowsOnlyTheShownWidthFollowingThePosition) {
  EditorRig rig;
  rig.spot.shownWidth = 4;
  std::string buffer(10, ' ');
  rig.type("abcdef").then([&] {
    EXPECT_EQ(rig.cellText(4), "def ");  // position 6 is the last one shown
    EXPECT_EQ(rig.screen.at(rig.spot.row, rig.spot.col + 4).bg, ui::kWhite);
    EXPECT_EQ(rig.cursorOffset(), 3);
  });
  rig.key(k::kCtrlHome).then([&] {
    EXPECT_EQ(rig.cellText(4), "abcd");
    EXPECT_EQ(rig.cursorOffset(), 0);
  });
  rig.key(k::kCtrlEnd).then([&] { EXPECT_EQ(rig.cursorOffset(), 3); });
  rig.key(k::kCtrlLeft).key(k::kCtrlLeft).click(3, 10).type("Z").key(k::kEnter);
  // The click on the first shown cell lands on character 3 of the text.
  EXPECT_EQ(rig.run(editor::editScrollText, textField(10), buffer), k::kEnter);
  EXPECT_EQ(buffer, "abcZdef   ");
}

}  // namespace
}  // namespace editor_tests

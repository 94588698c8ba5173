// The pure rules of the dispatcher: which keys give which command, the
// column a movement pair reaches and the window of lines that follows the
// current line.
#include <gtest/gtest.h>

#include "editor/commands.hpp"
#include "editor/line_window.hpp"
#include "editor/movement.hpp"

namespace {

using editor::Command;
using editor::commandOf;
namespace k = ui::key;

TEST(Commands, EquivalentKeysGiveOneCommand) {
  // Ctrl+5 arrives as F5 (the key rules turn Ctrl+digit into the F-key).
  EXPECT_EQ(commandOf(k::kF5), Command::Child);
  EXPECT_EQ(commandOf(25), Command::Child);      // Ctrl+Y
  EXPECT_EQ(commandOf(0x1500), Command::Child);  // Alt+Y
  EXPECT_EQ(commandOf(0x6C00), Command::Sibling);
  EXPECT_EQ(commandOf(26), Command::Sibling);
  EXPECT_EQ(commandOf(0x2C00), Command::Sibling);
  EXPECT_EQ(commandOf(k::kF4), Command::CheckAndLeave);
  EXPECT_EQ(commandOf(24), Command::CheckAndLeave);
  EXPECT_EQ(commandOf(0x2D00), Command::CheckAndLeave);
  EXPECT_EQ(commandOf(k::kF9), Command::InsertLine);
  EXPECT_EQ(commandOf(0x1700), Command::InsertLine);
  EXPECT_EQ(commandOf(0x2000), Command::DeleteLine);
  EXPECT_EQ(commandOf(k::kWheelForward), Command::Up);
  EXPECT_EQ(commandOf(k::kWheelBack), Command::Down);
  EXPECT_EQ(commandOf(k::kTab), Command::ScreenRight);
  EXPECT_EQ(commandOf(k::kCtrlLeft), Command::ScreenLeft);
  EXPECT_EQ(commandOf(k::kCtrlUp), Command::PageUp);
  EXPECT_EQ(commandOf(k::kMouseDoubleClick), Command::Click);
  EXPECT_EQ(commandOf(0x1E00), Command::None);  // Alt+A is bound to nothing
  EXPECT_EQ(commandOf('x'), Command::None);
}

TEST(Commands, KeysThatLeaveTheLineDependOnTheDisplayType) {
  EXPECT_TRUE(editor::leavesLine(k::kUp, true));
  EXPECT_FALSE(editor::leavesLine(k::kUp, false));
  EXPECT_TRUE(editor::leavesLine(k::kPageDown, false));
  EXPECT_TRUE(editor::leavesLine(k::kEscape, false));
  EXPECT_FALSE(editor::leavesLine(k::kEnter, true));
}

TEST(MovementPairs, CountsBeyondAThousandMoveRelativeToIt) {
  // Current column 5 of enterable columns 2..20.
  EXPECT_EQ(editor::pairColumn(5, 1003, 2, 20), 8);
  EXPECT_EQ(editor::pairColumn(5, -1003, 2, 20), 1);
  EXPECT_EQ(editor::pairColumn(5, 0, 2, 20), 5);
  EXPECT_EQ(editor::pairColumn(5, -10, 2, 20), 2);
  EXPECT_EQ(editor::pairColumn(5, 30, 2, 20), 20);
  EXPECT_EQ(editor::pairColumn(5, 1000, 2, 20), 20);
  EXPECT_EQ(editor::pairColumn(5, 1030, 2, 20), 20);
}

TEST(LineWindow, TheWindowFollowsTheCurrentLine) {
  // 30 lines, 9 lines per page (grid rows 3..12): 1-10 shown, 10 → 11 shows 2-11.
  editor::LineWindow w = editor::followLine(11, 30, 1, 10, 3, 12);
  EXPECT_EQ(w.linesPerPage, 9);
  EXPECT_EQ(w.top, 2);
  EXPECT_EQ(w.bottom, 11);
  EXPECT_TRUE(w.moved);
  w = editor::followLine(1, 30, 2, 11, 3, 12);
  EXPECT_EQ(w.top, 1);
  EXPECT_EQ(w.bottom, 10);
  w = editor::followLine(30, 30, 1, 10, 3, 12);  // Ctrl+End
  EXPECT_EQ(w.top, 21);
  EXPECT_EQ(w.bottom, 30);
  w = editor::followLine(5, 30, 1, 10, 3, 12);
  EXPECT_FALSE(w.moved);
}

TEST(LineWindow, FewLinesAreAllShownAndNoLinesGiveAnEmptyWindow) {
  editor::LineWindow w = editor::followLine(3, 4, 7, 9, 3, 12);
  EXPECT_EQ(w.top, 1);
  EXPECT_EQ(w.bottom, 4);
  w = editor::followLine(0, 0, 1, 4, 3, 12);
  EXPECT_EQ(w.top, 1);
  EXPECT_EQ(w.bottom, 0);
  // A grid of one row still shows the current line.
  w = editor::followLine(7, 30, 1, 1, 5, 5);
  EXPECT_EQ(w.top, 7);
  EXPECT_EQ(w.bottom, 7);
  EXPECT_EQ(editor::gridRowOf(7, 7, 5, 5), 5);
  EXPECT_EQ(editor::gridRowOf(40, 2, 3, 12), 12);
}

}  // namespace

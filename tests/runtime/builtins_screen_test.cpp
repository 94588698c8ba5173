// The display built-ins on the edit session's Screen: texts and numbers at a
// cell in the program's colours, clearing, the cursor and the screen's size,
// and what every one of them does without an edit session.
#include <gtest/gtest.h>


#include "runtime/fixed_number.hpp"
#include "runtime/run_errors.hpp"
#include "session_rig.hpp"

namespace {

using runtime_test::SessionRig;

TEST(ScreenBuiltins, TextGoesToTheCellInTheProgramsColoursAndTheCursorAndColoursStay) {
  SessionRig rig;
  rig.screen.gotoCell(5, 7);
  rig.screen.setTextColour(ui::kBlack);
  rig.screen.setBackColour(ui::kWhite);
  rig.m.textColour = 1;
  rig.m.backColour = 4;
  EXPECT_EQ(rig.call(105, {rig.text("Hello"), SessionRig::num(3), SessionRig::num(10)}), 0);
  EXPECT_EQ(rig.row(3).substr(9, 5), "Hello");
  EXPECT_EQ(rig.screen.at(3, 10).fg, 1);
  EXPECT_EQ(rig.screen.at(3, 14).bg, 4);
  EXPECT_EQ(rig.screen.row(), 5);
  EXPECT_EQ(rig.screen.col(), 7);
  EXPECT_EQ(rig.screen.textColour(), ui::kBlack);
  EXPECT_EQ(rig.screen.backColour(), ui::kWhite);

  // -1: the colours the screen has.
  rig.m.textColour = rig.m.backColour = -1;
  rig.screen.setTextColour(2);
  EXPECT_EQ(rig.call(105, {rig.text("x"), SessionRig::num(4), SessionRig::num(1)}), 0);
  EXPECT_EQ(rig.screen.at(4, 1).fg, 2);
  EXPECT_EQ(rig.screen.at(4, 1).bg, ui::kWhite);
  EXPECT_EQ(rig.m.status, 0);
}

TEST(ScreenBuiltins, ACellOutsideTheScreenWritesNothingAndSetsStatus17) {
  SessionRig rig;
  const auto before = rig.screen.changeCount();
  for (auto [row, col] : {std::pair{26, 1}, {0, 5}, {3, 81}, {3, 0}, {-1, -1}}) {
    rig.m.status = 0;
    rig.call(105, {rig.text("X"), SessionRig::num(row), SessionRig::num(col)});
    EXPECT_EQ(rig.m.status, runtime::kErrColumnRange) << row << "," << col;
    rig.m.status = 0;
    rig.call(106, {SessionRig::num(1), SessionRig::num(row), SessionRig::num(col), SessionRig::num(3),
                   SessionRig::num(0)});
    EXPECT_EQ(rig.m.status, runtime::kErrColumnRange);
    rig.m.status = 0;
    rig.call(109, {SessionRig::num(row), SessionRig::num(col)});
    EXPECT_EQ(rig.m.status, runtime::kErrColumnRange);
  }
  EXPECT_EQ(rig.screen.changeCount(), before);
}

TEST(ScreenBuiltins, ANumberIsWrittenInItsWidthWithItsDecimals) {
  SessionRig rig;
  rig.call(106, {SessionRig::num(2.5), SessionRig::num(2), SessionRig::num(1), SessionRig::num(8),
                 SessionRig::num(2)});
  EXPECT_EQ(rig.row(2).substr(0, 9), "    2.50 ");
  rig.call(106, {SessionRig::num(-7), SessionRig::num(3), SessionRig::num(78), SessionRig::num(0),
                 SessionRig::num(0)});
  EXPECT_EQ(rig.row(3).substr(77), "-7 ");
  EXPECT_EQ(runtime::formatFixed(3.5, -4, -1), "4");  // widths and decimals below 0 count as 0
  EXPECT_LT(runtime::formatFixed(1e300, 0, 20).size(), 130u);
}

TEST(ScreenBuiltins, ClearingTakesTheWholeScreenOrJustTheRectangle) {
  SessionRig rig;
  for (int r = 1; r <= 25; ++r) {
    rig.screen.gotoCell(r, 1);
    rig.screen.putText(std::string(80, '#'));
  }
  EXPECT_EQ(rig.call(108, {SessionRig::num(2), SessionRig::num(3), SessionRig::num(4), SessionRig::num(5)}), 0);
  EXPECT_EQ(rig.row(1).substr(0, 6), "######");
  EXPECT_EQ(rig.row(2).substr(0, 6), "##   #");
  EXPECT_EQ(rig.row(4).substr(0, 6), "##   #");
  EXPECT_EQ(rig.row(5).substr(0, 6), "######");

  // Corners off the screen or the wrong way round clear nothing.
  const auto before = rig.screen.changeCount();
  for (const auto& rect : {std::vector<double>{0, 1, 3, 3}, {1, 1, 26, 3}, {1, 1, 3, 81}, {5, 1, 3, 3}, {1, 5, 3, 3}}) {
    rig.m.status = 0;
    rig.call(108, {SessionRig::num(rect[0]), SessionRig::num(rect[1]), SessionRig::num(rect[2]),
                   SessionRig::num(rect[3])});
    EXPECT_EQ(rig.m.status, runtime::kErrColumnRange);
  }
  EXPECT_EQ(rig.screen.changeCount(), before);

  rig.call(107);
  EXPECT_FALSE(rig.onScreen("#"));
}

TEST(ScreenBuiltins, TheCursorMovesAndIsReadAndTheSizeIsTheScreens) {
  SessionRig rig;
  EXPECT_EQ(rig.call(109, {SessionRig::num(12), SessionRig::num(40)}), 0);
  EXPECT_EQ(rig.call(110), 12);
  EXPECT_EQ(rig.call(111), 40);
  EXPECT_EQ(rig.call(112), 25);
  EXPECT_EQ(rig.call(113), 80);
}

TEST(ScreenBuiltins, WithoutAnEditSessionEachSetsStatus12AndGivesNothing) {
  SessionRig rig;
  rig.run.engine = nullptr;
  const auto before = rig.screen.changeCount();
  for (int n : {81, 84, 85, 86, 88, 92, 105, 106, 107, 108, 109, 110, 111, 112, 113, 143, 144, 163}) {
    rig.m.status = 0;
    rig.m.result = 99;
    rig.call(n, {SessionRig::num(1), SessionRig::num(1), SessionRig::num(1)});
    EXPECT_EQ(rig.m.status, runtime::kErrDataNotOpen) << n;
    EXPECT_EQ(rig.m.result, 0) << n;
    EXPECT_EQ(rig.m.runError, 0) << n;
  }
  for (int n : {91, 162}) {
    rig.m.status = 0;
    EXPECT_EQ(rig.callText(n, {SessionRig::num(5), SessionRig::num(0)}), "") << n;
    EXPECT_EQ(rig.m.status, runtime::kErrDataNotOpen);
  }
  EXPECT_EQ(rig.screen.changeCount(), before);
}

TEST(ScreenBuiltins, BeepGoesThroughTheHostAndTheShellOperationsCannotBeReached) {
  SessionRig rig;
  const int beeps = rig.host.beeps();
  rig.call(83);
  EXPECT_EQ(rig.host.beeps(), beeps + 1);
  rig.run.engine = nullptr;  // the run's host still beeps
  rig.call(83);
  EXPECT_EQ(rig.host.beeps(), beeps + 2);
  rig.run.host = nullptr;
  rig.call(83);
  EXPECT_EQ(rig.m.status, runtime::kErrDataNotOpen);

  rig.m.status = 0;
  EXPECT_EQ(rig.call(93, {SessionRig::num(3)}), 0);
  EXPECT_EQ(rig.m.status, runtime::kErrCantProcess);
}

}  // namespace

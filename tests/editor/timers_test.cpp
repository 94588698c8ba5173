// Timer columns: Ctrl+T starts and stops them inside their editor and from
// the dispatcher, the readings land in the record and on file, the 25 slots
// of a level run out, and a value an earlier session left negative counts as
// stopped.
#include <gtest/gtest.h>

#include "editor/later_commands.hpp"
#include "editor/screen_draw.hpp"
#include "editor/timers.hpp"
#include "fill_rig.hpp"

namespace {

using fill_test::FillRig;
namespace k = ui::key;
constexpr ui::KeyCode kCtrlT = 20;
constexpr int kTimerType = 7;

// A level of n numeric timer columns and one character timer column after
// them, with one line.
void timerLevel(FillRig& rig, int n) {
  std::vector<tablestore::FieldSpec> fields;
  for (int i = 1; i <= n; ++i) fields.push_back({"T" + std::to_string(i), 'N', 6, 0});
  fields.push_back({"WATCH", 'C', 6, 0});
  rig.level(1, fields);
  for (int i = 1; i <= n + 1; ++i) rig.check(1, i).setFieldType(kTimerType);
  rig.open(1);
  rig.append();
}

std::string cellOnScreen(FillRig& rig, int col) {
  const editor::CellPlace p = editor::cellPlace(rig.e, rig.e.level(), col);
  return base::trim(rig.screen.rowText(p.row).substr(static_cast<std::size_t>(p.col - 1), static_cast<std::size_t>(p.width)));
}

TEST(Timers, ARunningTimerCountsOnScreenAndStopsHoldingTheElapsedSeconds) {
  FillRig rig;
  timerLevel(rig, 1);
  std::string whileRunning, slotValue;
  int running = -1;
  testing_support::KeyScript script{rig.host, rig.keys};
  script.key(kCtrlT)
      .then([&] {
        slotValue = rig.text(1);
        running = editor::runningTimer(rig.e);
        rig.clock.advance(4000);
      })
      .key(k::kRefresh)  // the cell is drawn again at once
      .then([&] { whileRunning = cellOnScreen(rig, 1); })
      .key(kCtrlT)
      .key(k::kEnter);
  EXPECT_EQ(editor::runTimer(rig.e, 1), k::kEnter);
  EXPECT_EQ(slotValue, "-1");
  EXPECT_EQ(running, 1);
  EXPECT_EQ(whileRunning, "4");
  EXPECT_EQ(rig.text(1), "4");
  EXPECT_EQ(rig.onFile(1, 1), "4");  // on file at once
  EXPECT_EQ(editor::runningTimer(rig.e), 0);
  EXPECT_EQ(rig.e.timerStarts[1][1], 0);  // the slot is free again
  EXPECT_TRUE(rig.e.level().header().lineModified());
}

TEST(Timers, OtherKeysEndTheEditorAndTheAbortEndsItAtOnce) {
  FillRig rig;
  timerLevel(rig, 1);
  {
    testing_support::KeyScript script{rig.host, rig.keys};
    script.key(k::kRight);
    EXPECT_EQ(editor::runTimer(rig.e, 1), k::kRight);
  }
  EXPECT_EQ(rig.text(1), "");
  {
    // A running timer polls until the session is stopped.
    testing_support::KeyScript script{rig.host, rig.keys};
    script.key(kCtrlT);
    EXPECT_EQ(editor::runTimer(rig.e, 1), k::kAbort);
  }
  EXPECT_EQ(editor::runningTimer(rig.e), 1);
}

TEST(Timers, TheTwentySixthTimerFindsNoSlot) {
  FillRig rig;
  timerLevel(rig, 26);
  rig.host.expect("No Timers\nAvailable");
  for (int col = 1; col <= 25; ++col) {
    editor::timerKey(rig.e, col);
    EXPECT_EQ(rig.text(col), "-" + std::to_string(col));
  }
  EXPECT_TRUE(rig.host.shown().empty());
  editor::timerKey(rig.e, 26);
  ASSERT_EQ(rig.host.shown().size(), 1u);
  EXPECT_EQ(rig.text(26), "");
  // One stopped frees its slot for the next.
  rig.clock.advance(2500);
  editor::timerKey(rig.e, 3);
  EXPECT_EQ(rig.text(3), "2");
  editor::timerKey(rig.e, 26);
  EXPECT_EQ(rig.text(26), "-3");
  EXPECT_EQ(rig.host.shown().size(), 1u);
}

TEST(Timers, AValueLeftNegativeByAnEarlierSessionCountsAsStopped) {
  FillRig rig;
  timerLevel(rig, 2);
  ASSERT_TRUE(editor::writeColumnText(rig.e.level(), 2, "-4"));
  ASSERT_TRUE(editor::writeColumnText(rig.e.level(), 3, "-1"));  // the character column
  EXPECT_EQ(editor::runningTimer(rig.e), 0);
  EXPECT_EQ(editor::timerSeconds(rig.e, 2), 0);

  std::string shown;
  testing_support::KeyScript script{rig.host, rig.keys};
  script.then([&] { shown = cellOnScreen(rig, 2); }).key(k::kEnter);
  EXPECT_EQ(editor::runTimer(rig.e, 2), k::kEnter);
  EXPECT_EQ(shown, "0");

  // Started again it takes the first free slot.
  editor::timerKey(rig.e, 2);
  EXPECT_EQ(rig.text(2), "-1");
  EXPECT_EQ(editor::runningTimer(rig.e), 2);
  rig.clock.advance(3000);
  editor::timerKey(rig.e, 2);
  EXPECT_EQ(rig.text(2), "3");
  EXPECT_EQ(editor::runningTimer(rig.e), 0);
}

TEST(Timers, ACharacterTimerColumnRunsLikeANumericOne) {
  FillRig rig;
  timerLevel(rig, 0);
  editor::timerKey(rig.e, 1);
  EXPECT_EQ(rig.text(1), "-1");
  EXPECT_EQ(editor::runningTimer(rig.e), 1);
  rig.clock.advance(61500);
  editor::timerKey(rig.e, 1);
  EXPECT_EQ(rig.text(1), "61");
  EXPECT_EQ(rig.onFile(1, 1), "61");
}

}  // namespace

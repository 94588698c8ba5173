// The pop-up selection list: its keys, the mouse on items and on the scroll
// bar, the rows that cannot be chosen, and the screen put back afterwards.
#include "ui/select_list.hpp"

#include <gtest/gtest.h>

#include "support/fake_clock.hpp"
#include "support/key_script.hpp"
#include "support/scripted_host.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace {

namespace k = ui::key;

struct ListRig {
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  testing_support::ScriptedHost host;
  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  testing_support::KeyScript script{host, keys};

  int run(const ui::SelectList& list) { return ui::selectFromList(host, screen, keys, list); }
  ui::SelectListLayout layout(const ui::SelectList& list) const {
    return ui::layoutSelectList(list, screen.rows(), screen.cols());
  }
};

ui::SelectList numbered(int count, int visible = 10) {
  ui::SelectList list;
  list.title = "< Title >";
  list.footer = "< Footer >";
  for (int i = 1; i <= count; ++i) list.items.push_back("Item " + std::to_string(i));
  list.visibleRows = visible;
  return list;
}

TEST(SelectList, ArrowsWheelHomeAndEndStopAtTheEnds) {
  {
    ListRig rig;
    rig.script.key(k::kUp).key(k::kWheelForward).key(k::kEnter);
    EXPECT_EQ(rig.run(numbered(5)), 1);
  }
  {
    ListRig rig;
    rig.script.key(k::kDown).key(k::kWheelBack).key(k::kDown).key(k::kDown).key(k::kDown).key(k::kDown)
        .key(k::kEnter);
    EXPECT_EQ(rig.run(numbered(5)), 5);
  }
  {
    ListRig rig;
    rig.script.key(k::kEnd).key(k::kUp).key(k::kEnter);
    EXPECT_EQ(rig.run(numbered(30)), 29);
  }
  {
    ListRig rig;
    ui::SelectList list = numbered(30);
    list.selected = 17;
    rig.script.key(k::kHome).key(k::kDown).key(k::kEnter);
    EXPECT_EQ(rig.run(list), 2);
  }
}

TEST(SelectList, PagesMoveByTheVisibleRowsAndEndOnTheFirstOrLastItem) {
  {
    ListRig rig;
    rig.script.key(k::kPageDown).key(k::kEnter);
    EXPECT_EQ(rig.run(numbered(30, 10)), 11);
  }
  {
    ListRig rig;  // 1 → 11 → 21 → the last page gives the last item, and stays there
    rig.script.key(k::kPageDown).key(k::kPageDown).key(k::kPageDown).key(k::kPageDown).key(k::kEnter);
    EXPECT_EQ(rig.run(numbered(30, 10)), 30);
  }
  {
    ListRig rig;
    ui::SelectList list = numbered(30, 10);
    list.selected = 25;
    rig.script.key(k::kPageUp).key(k::kEnter);
    EXPECT_EQ(rig.run(list), 15);
  }
  {
    ListRig rig;
    ui::SelectList list = numbered(30, 10);
    list.selected = 7;
    rig.script.key(k::kPageUp).key(k::kEnter);
    EXPECT_EQ(rig.run(list), 1);
  }
}

TEST(SelectList, ALetterFindsTheNextItemStartingWithItWithoutCaseAndWrapsAround) {
  ui::SelectList list;
  list.items = {"Apple", "banana", "avocado", "Berry", "apricot", "7 seas"};
  {
    ListRig rig;  // the same letter twice: the second match after the selected one
    rig.script.type("aa").key(k::kEnter);
    EXPECT_EQ(rig.run(list), 5);
  }
  {
    ListRig rig;  // from the last match on to the first item
    rig.script.type("AAA").key(k::kEnter);
    EXPECT_EQ(rig.run(list), 1);
  }
  {
    ListRig rig;
    list.selected = 4;
    rig.script.type("b").key(k::kEnter);
    EXPECT_EQ(rig.run(list), 2);
  }
  {
    ListRig rig;  // digits too; a letter nothing starts with keeps the selection
    list.selected = 1;
    rig.script.type("7z").key(k::kEnter);
    EXPECT_EQ(rig.run(list), 6);
  }
}

TEST(SelectList, EscapeAndTheAbortCodeChooseNothing) {
  {
    ListRig rig;
    rig.script.key(k::kDown).key(k::kEscape);
    EXPECT_EQ(rig.run(numbered(5)), 0);
  }
  {
    ListRig rig;
    rig.script.key(k::kDown);  // then the script runs dry: the queue is aborted
    EXPECT_EQ(rig.run(numbered(5)), 0);
    EXPECT_TRUE(rig.keys.aborted());
  }
  ListRig empty;
  const auto changes = empty.screen.changeCount();
  EXPECT_EQ(empty.run(ui::SelectList{}), 0);
  EXPECT_EQ(empty.screen.changeCount(), changes);  // a list of nothing is not drawn
}

TEST(SelectList, AClickOnAnItemChoosesItAndOutsideTheBoxChoosesNothing) {
  const ui::SelectList list = numbered(30, 10);
  {
    ListRig rig;
    const auto l = rig.layout(list);
    rig.script.mouse(l.firstRow + 3, l.left + 2);
    EXPECT_EQ(rig.run(list), 4);
  }
  {
    ListRig rig;  // after scrolling, the rows show later items
    const auto l = rig.layout(list);
    rig.script.key(k::kEnd).mouse(l.firstRow, l.left);
    EXPECT_EQ(rig.run(list), 21);
  }
  {
    ListRig rig;
    const auto l = rig.layout(list);
    rig.script.key(k::kDown).mouse(l.footerRow + 3, l.left);
    EXPECT_EQ(rig.run(list), 0);
  }
  {
    ListRig rig;
    rig.script.mouse(1, 1);
    EXPECT_EQ(rig.run(list), 0);
  }
}

TEST(SelectList, TheTitleAndFooterRowsCannotBeChosen) {
  const ui::SelectList list = numbered(30, 10);
  ListRig rig;
  const auto l = rig.layout(list);
  rig.script.key(k::kDown)
      .mouse(l.titleRow, l.left + 1)
      .mouse(l.footerRow, l.left + 1)
      .mouse(l.titleRow, l.left + 1, k::kMouseDoubleClick)
      .key(k::kEnter);
  EXPECT_EQ(rig.run(list), 2);  // the clicks left the list open and the selection alone
}

TEST(SelectList, TheScrollBarsArrowsMoveOneItemAndItsTrackOnePage) {
  const ui::SelectList list = numbered(50, 10);
  {
    ListRig rig;
    const auto l = rig.layout(list);
    const int downArrow = l.firstRow + l.visible - 1;
    rig.script.mouse(downArrow, l.barCol).mouse(downArrow, l.barCol).mouse(l.firstRow, l.barCol).key(k::kEnter);
    EXPECT_EQ(rig.run(list), 2);
  }
  {
    ListRig rig;  // below the thumb (at the top for item 1): one page down
    const auto l = rig.layout(list);
    rig.script.mouse(l.trackTop() + l.trackLength() - 1, l.barCol).key(k::kEnter);
    EXPECT_EQ(rig.run(list), 11);
  }
  {
    ListRig rig;  // above the thumb (at the bottom for the last item): one page up
    ui::SelectList last = list;
    last.selected = 50;
    const auto l = rig.layout(last);
    rig.script.mouse(l.trackTop(), l.barCol).key(k::kEnter);
    EXPECT_EQ(rig.run(last), 40);
  }
}

TEST(SelectList, TheThumbFollowsTheSelectionAndADragMovesIt) {
  const ui::SelectList list = numbered(100, 12);
  ListRig rig;
  const auto l = rig.layout(list);
  ASSERT_EQ(l.trackLength(), 10);
  EXPECT_EQ(ui::thumbRow(l, 1, 100), l.trackTop());
  EXPECT_EQ(ui::thumbRow(l, 100, 100), l.trackTop() + 9);
  EXPECT_EQ(ui::thumbRow(l, 50, 100), l.trackTop() + 4);
  rig.script
      .then([&] {
        // The thumb is drawn on its row and nowhere else on the track.
        EXPECT_EQ(rig.screen.at(l.trackTop(), l.barCol).ch, '=');
        EXPECT_EQ(rig.screen.at(l.trackTop() + 1, l.barCol).ch, ' ');
      })
      .mouse(l.trackTop() + 9, l.barCol, k::kMouseRelease)
      .then([&] { EXPECT_EQ(rig.screen.at(l.trackTop() + 9, l.barCol).ch, '='); })
      .key(k::kEnter);
  EXPECT_EQ(rig.run(list), 100);
}

TEST(SelectList, TheScreenBeneathTheCursorAndColoursComeBack) {
  ListRig rig;
  rig.screen.gotoCell(5, 5);
  rig.screen.putText("data underneath the list");
  rig.screen.gotoCell(7, 9);
  rig.screen.setTextColour(ui::kRed);
  std::vector<std::string> before;
  for (int r = 1; r <= rig.screen.rows(); ++r) before.push_back(rig.screen.rowText(r));
  const ui::SelectList list = numbered(30, 10);
  const auto l = rig.layout(list);
  rig.script
      .then([&] {
        EXPECT_NE(rig.screen.rowText(l.titleRow).find("< Title >"), std::string::npos);
        EXPECT_NE(rig.screen.rowText(l.footerRow).find("< Footer >"), std::string::npos);
        EXPECT_NE(rig.screen.rowText(l.firstRow).find("Item 1"), std::string::npos);
        EXPECT_EQ(rig.screen.at(l.firstRow, l.left).bg, ui::kBlack);  // the selected row
        EXPECT_TRUE(rig.screen.cursor().suspended);
      })
      .key(k::kEnter);
  EXPECT_EQ(rig.run(list), 1);
  for (int r = 1; r <= rig.screen.rows(); ++r) EXPECT_EQ(rig.screen.rowText(r), before[r - 1]) << r;
  EXPECT_EQ(rig.screen.at(l.titleRow - 1, l.left).frame, 0);  // the frame went too
  EXPECT_EQ(rig.screen.row(), 7);
  EXPECT_EQ(rig.screen.col(), 9);
  EXPECT_EQ(rig.screen.textColour(), ui::kRed);
  EXPECT_FALSE(rig.screen.cursor().suspended);
  EXPECT_FALSE(rig.screen.imageInUse(1));
}

TEST(SelectList, WithEveryImageSlotTakenItBeepsAndDrawsNothing) {
  ListRig rig;
  for (int i = 0; i < ui::Screen::kPopupSlots; ++i) ASSERT_NE(rig.screen.pushImage(), 0);
  const std::string row = rig.screen.rowText(10);
  EXPECT_EQ(rig.run(numbered(5)), 0);
  EXPECT_EQ(rig.host.beeps(), 1);
  EXPECT_EQ(rig.screen.rowText(10), row);
}

TEST(SelectList, LayoutKeepsALongListAndWideItemsInsideTheScreen) {
  ui::SelectList list = numbered(3000);
  list.visibleRows = 0;
  list.items[5] = std::string(300, 'x');
  const auto l = ui::layoutSelectList(list, 25, 80);
  EXPECT_EQ(l.visible, 21);
  EXPECT_GE(l.titleRow - 1, 1);
  EXPECT_LE(l.footerRow + 1, 25);
  EXPECT_GE(l.left - 1, 1);
  EXPECT_LE(l.barCol + 1, 80);
  list.row = 40;  // a position past the screen is pulled back onto it
  list.col = 70;
  const auto moved = ui::layoutSelectList(list, 25, 80);
  EXPECT_LE(moved.footerRow + 1, 25);
  EXPECT_LE(moved.barCol + 1, 80);
}

}  // namespace

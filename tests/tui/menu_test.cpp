#include <algorithm>
// The menu in cells: navigation over enabled items, submenus, letters and
// clicks, and how it is drawn.
#include <gtest/gtest.h>

#include <set>

#include "screen_text.hpp"
#include "shell/commands.hpp"
#include "tui/menu.hpp"

namespace {

using namespace tui;
using shell::MenuItem;
using R = MenuState::Result;
using tui_testing::find;
using tui_testing::has;
namespace k = ui::key;

// File: New (off), Open, Close (off), Save; Tools: Sub ▸ (A off, B), Off ▸ (C off);
// Empty: nothing enabled; Quit: a command of its own.
const std::vector<MenuItem>& testMenu() {
  static const std::vector<MenuItem> menu = {
      {"&File", 0, {{"&New", 1, {}}, {"&Open", 2, {}}, {"&Close", 3, {}}, {"&Save", 4, {}}}},
      {"&Tools", 0, {{"&Sub", 0, {{"&A item", 5, {}}, {"&B item", 6, {}}}}, {"O&ff", 0, {{"&C item", 7, {}}}}}},
      {"&Empty", 0, {{"&Nothing", 8, {}}}},
      {"&Quit", 9, {}},
  };
  return menu;
}

MenuState makeState(std::set<int> off = {1, 3, 5, 7, 8}) {
  return MenuState(testMenu(), [off](int id) { return !off.count(id); });
}

R press(MenuState& s, ui::KeyCode key) { return s.key(InputEvent{key}); }

TEST(MenuState, OpeningSelectsTheFirstEnabledItem) {
  MenuState s = makeState();
  s.open(0);
  EXPECT_EQ(s.top(), 0);
  EXPECT_EQ(s.path(), std::vector<int>{1});  // "New" is off
  s.open(2);
  EXPECT_EQ(s.path(), std::vector<int>{-1});  // nothing can be chosen
  EXPECT_EQ(press(s, k::kEnter), R::Open);
  EXPECT_EQ(press(s, k::kDown), R::Open);
  EXPECT_EQ(s.path(), std::vector<int>{-1});
  EXPECT_EQ(press(s, 'n'), R::Open);  // a disabled item's letter chooses nothing
  EXPECT_EQ(s.chosen(), 0);
}

TEST(MenuState, UpAndDownSkipDisabledItemsAndWrap) {
  MenuState s = makeState();
  s.open(0);
  press(s, k::kDown);
  EXPECT_EQ(s.path().back(), 3);  // Close is off: Save
  press(s, k::kDown);
  EXPECT_EQ(s.path().back(), 1);  // wraps past New to Open
  press(s, k::kUp);
  EXPECT_EQ(s.path().back(), 3);
  EXPECT_EQ(press(s, k::kEnter), R::Chosen);
  EXPECT_EQ(s.chosen(), 4);
}

TEST(MenuState, LeftAndRightMoveBetweenMenusAndSubmenus) {
  MenuState s = makeState();
  s.open(0);
  press(s, k::kRight);
  EXPECT_EQ(s.top(), 1);
  EXPECT_EQ(s.path(), std::vector<int>{0});  // "Sub" (Off has nothing enabled)
  press(s, k::kRight);                       // Right on a submenu opens it
  EXPECT_EQ(s.path(), (std::vector<int>{0, 1}));  // A is off: B
  EXPECT_EQ(s.items(1)[1].text, "&B item");
  press(s, k::kLeft);  // closes the submenu
  EXPECT_EQ(s.path(), std::vector<int>{0});
  EXPECT_EQ(s.top(), 1);
  press(s, k::kEnter);  // Enter opens it too
  EXPECT_EQ(s.path().size(), 2u);
  EXPECT_EQ(press(s, k::kEscape), R::Open);  // Escape closes one level
  EXPECT_EQ(s.path().size(), 1u);
  press(s, k::kLeft);
  EXPECT_EQ(s.top(), 0);
  press(s, k::kLeft);  // wraps to the last: a command without items
  EXPECT_EQ(s.top(), 3);
  EXPECT_TRUE(s.path().empty());
  EXPECT_EQ(press(s, k::kEnter), R::Chosen);
  EXPECT_EQ(s.chosen(), 9);
}

TEST(MenuState, LettersChooseAndAltLettersOpen) {
  MenuState s = makeState();
  s.open(0);
  EXPECT_EQ(press(s, 'c'), R::Open);  // Close is off
  EXPECT_EQ(press(s, 'S'), R::Chosen);
  EXPECT_EQ(s.chosen(), 4);
  s.open(0);
  EXPECT_EQ(press(s, k::altLetter('t')), R::Open);
  EXPECT_EQ(s.top(), 1);
  EXPECT_EQ(press(s, 's'), R::Open);  // a submenu's letter opens it
  EXPECT_EQ(press(s, 'b'), R::Chosen);
  EXPECT_EQ(s.chosen(), 6);
  s.open(0);
  EXPECT_EQ(press(s, k::altLetter('q')), R::Chosen);  // Quit has no items
  EXPECT_EQ(s.chosen(), 9);
  s.open(0);
  EXPECT_EQ(press(s, k::kEscape), R::Closed);
  s.open(0);
  EXPECT_EQ(press(s, k::kF10), R::Closed);
}

TEST(MenuLayout, BarTitlesAndBoxes) {
  MenuState s = makeState();
  MenuLayout bar = layoutMenu(testMenu(), nullptr, 2, 30, 100);
  ASSERT_EQ(bar.titles.size(), 4u);
  EXPECT_EQ(bar.titles[0], (CellRect{2, 2, 1, 6}));  // " File "
  EXPECT_EQ(bar.titles[1].col, 8);
  EXPECT_TRUE(bar.boxes.empty());
  s.open(1);
  press(s, k::kRight);
  MenuLayout l = layoutMenu(testMenu(), &s, 2, 30, 100);
  ASSERT_EQ(l.boxes.size(), 2u);
  EXPECT_EQ(l.boxes[0].row, 3);
  EXPECT_EQ(l.boxes[0].col, l.titles[1].col);
  EXPECT_EQ(l.boxes[0].rows, 4);  // two items and the frame
  EXPECT_EQ(l.boxes[1].col, l.boxes[0].right() + 1);
  EXPECT_EQ(l.boxes[1].row, l.boxes[0].row);  // its first item beside "Sub"
  // At the right edge the submenu goes to the left of its menu.
  MenuLayout narrow = layoutMenu(testMenu(), &s, 2, 30, 24);
  EXPECT_LE(narrow.boxes[1].right(), 24);
  EXPECT_GE(narrow.boxes[1].col, 1);
}

TEST(MenuDraw, DisabledItemsAreDimmedAndTheSelectionHighlighted) {
  MenuState s = makeState();
  s.open(0);
  MenuLayout l = layoutMenu(testMenu(), &s, 2, 30, 100);
  CellGrid g(30, 100);
  drawMenu(g, l, testMenu(), &s);
  auto title = find(g, "File");
  EXPECT_EQ(g.at(title.row, title.col).bg, focusPaper());
  EXPECT_TRUE(g.at(title.row, title.col).attr & kAttrUnderline);
  auto newItem = find(g, "New");
  auto open = find(g, "Open");
  EXPECT_EQ(g.at(newItem.row, newItem.col).fg, dimInk());
  EXPECT_FALSE(g.at(newItem.row, newItem.col).attr & kAttrUnderline);
  EXPECT_EQ(g.at(open.row, open.col).bg, focusPaper());
  EXPECT_EQ(g.at(open.row, open.col - 1).bg, focusPaper());  // the whole row
  press(s, k::kRight);
  l = layoutMenu(testMenu(), &s, 2, 30, 100);
  drawMenu(g, l, testMenu(), &s);
  EXPECT_TRUE(has(g, "Sub"));
  EXPECT_TRUE(has(g, "\u25BA"));  // submenu arrow
}

TEST(MenuClick, TitlesItemsAndOutside) {
  MenuState s = makeState();
  MenuLayout bar = layoutMenu(testMenu(), nullptr, 2, 30, 100);
  EXPECT_EQ(menuTitleAt(bar, 2, bar.titles[1].col), 1);
  EXPECT_EQ(menuTitleAt(bar, 3, bar.titles[1].col), -1);
  EXPECT_EQ(menuClick(s, bar, 2, bar.titles[0].col + 1), R::Open);
  MenuLayout l = layoutMenu(testMenu(), &s, 2, 30, 100);
  const CellRect& box = l.boxes[0];
  EXPECT_EQ(menuClick(s, l, box.row + 1, box.col + 2), R::Open);  // "New" is off
  EXPECT_EQ(menuClick(s, l, box.row, box.col + 2), R::Open);      // the frame
  EXPECT_EQ(menuClick(s, l, box.row + 2, box.col + 2), R::Chosen);
  EXPECT_EQ(s.chosen(), 2);
  EXPECT_EQ(menuClick(s, l, 20, 90), R::Closed);
  EXPECT_EQ(menuClick(s, bar, 2, bar.titles[3].col), R::Chosen);  // Quit
  EXPECT_EQ(s.chosen(), 9);
}

TEST(MainMenu, TheProgramsMenuNavigates) {
  // The program's menu with only the password, message, help, about and
  // exit commands enabled (a fixed set, so the test does not follow what
  // later work makes available).
  namespace c = shell::cmd;
  const std::vector<int> enabled = {c::kPassword1,         c::kPassword2,      c::kViewMessages, c::kDeleteMessages,
                                    c::kVirtualKeystrokes, c::kLineKeystrokes, c::kAbout,        c::kExit};
  MenuState s(shell::mainMenu(), [&](int id) {
    return std::find(enabled.begin(), enabled.end(), id) != enabled.end();
  });
  s.open(0);
  EXPECT_EQ(s.path(), std::vector<int>{-1});  // nothing in Data yet
  press(s, k::kRight);
  press(s, k::kRight);
  EXPECT_EQ(s.top(), 2);
  EXPECT_EQ(s.path(), std::vector<int>{1});  // Preferences is not built: Level 1 Password
  EXPECT_EQ(press(s, '2'), R::Chosen);
  EXPECT_EQ(s.chosen(), shell::cmd::kPassword2);
  s.open(4);  // Pending: Messages is the first submenu with anything in it
  EXPECT_EQ(s.path(), std::vector<int>{2});
  press(s, k::kRight);
  EXPECT_EQ(press(s, k::kDown), R::Open);
  EXPECT_EQ(press(s, k::kEnter), R::Chosen);
  EXPECT_EQ(s.chosen(), shell::cmd::kDeleteMessages);
}

}  // namespace

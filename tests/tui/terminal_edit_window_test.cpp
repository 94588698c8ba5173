// The edit window in the terminal: the engine's Screen as the terminal
// shows it (read back from the bytes written), the cursor and its shapes,
// the layers over it, the keys, mouse and touch buttons it queues, and the
// ticker that pumping runs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_terminal.hpp"
#include "platform/clock.hpp"
#include "support/fake_clock.hpp"
#include "support/screen_text.hpp"
#include "terminal_model.hpp"
#include "tui/terminal_edit_window.hpp"
#include "tui/terminal_host.hpp"
#include "tui/touch_buttons.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace {

using namespace tui;
using tui_testing::FakeTerminal;
using tui_testing::TerminalModel;
namespace k = ui::key;

class TerminalEditWindowTest : public ::testing::Test {
 protected:
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  FakeTerminal term{clock};  // 30 × 100
  TerminalHost host{term};
  ui::Screen screen{30, 100};
  ui::KeyQueue keys;
  ui::EditWindowSetup setup;
  int helpCalls = 0, actionCalls = 0;

  void SetUp() override {
    term.endWhenEmpty = false;  // pumping with nothing typed is no hang-up
    setup.keyboardHelp = [this] { ++helpCalls; };
    setup.actionKeys = [this] { ++actionCalls; };
    host.setPainter([](CellGrid& g) { g.fill(Cell{U'.', paletteRgb(kWhite), kMainBackground, kAttrNone}); });
    host.refresh();
  }
  std::unique_ptr<ui::EditWindow> open() { return host.openEditWindow(screen, keys, setup); }
  TerminalModel shown() const {
    TerminalModel m(term.rows, term.cols);
    m.feed(term.output);
    return m;
  }
  void type(const std::string& bytes) {
    term.input.push_back(bytes);
    host.pump();
  }
  std::vector<ui::KeyCode> drain() {
    std::vector<ui::KeyCode> out;
    while (ui::KeyCode key = keys.take()) out.push_back(key);
    return out;
  }
};

TEST_F(TerminalEditWindowTest, TheTerminalShowsEveryScreenCellInExactColours) {
  auto window = open();
  ASSERT_NE(window, nullptr);
  screen.drawFrame(5, 5, 8, 20);
  screen.setTextColour(ui::kRed);
  screen.setBackColour(ui::kDkBlue);
  screen.gotoCell(2, 3);
  screen.putText("H\xe9\x80");  // é and € in Windows-1252
  screen.gotoCell(3, 1);
  screen.putText(std::string("\x07\x1b\x9d", 3));  // controls show as blanks
  screen.gotoCell(5, 10);
  screen.putText("x");  // a character over a frame line hides it
  host.pump();

  TerminalModel m = shown();
  EXPECT_EQ(m.rowText(2).substr(0, 8), "  H\xc3\xa9\xe2\x82\xac");
  EXPECT_EQ(m.at(2, 4).fg, (Rgb{255, 0, 0}));
  EXPECT_EQ(m.at(2, 4).bg, (Rgb{0, 0, 128}));
  EXPECT_EQ(m.at(1, 1).fg, (Rgb{0, 0, 0}));  // untouched cells: black on white
  EXPECT_EQ(m.at(1, 1).bg, (Rgb{255, 255, 255}));
  EXPECT_EQ(m.at(3, 1).ch, U' ');
  EXPECT_EQ(m.at(3, 3).ch, U' ');
  EXPECT_EQ(m.at(5, 5).ch, U'┌');
  EXPECT_EQ(m.at(5, 5).fg, ui::kFrameRgb);
  EXPECT_EQ(m.at(5, 5).bg, ui::paletteRgb(screen.at(5, 5).bg));
  EXPECT_EQ(m.at(6, 5).ch, U'│');
  EXPECT_EQ(m.at(5, 10).ch, U'x');
  EXPECT_EQ(m.at(5, 10).fg, (Rgb{255, 0, 0}));
  // The main screen beneath is covered whole, and the text oracle agrees with the terminal.
  for (int r = 1; r <= term.rows; ++r) {
    EXPECT_EQ(m.rowText(r).find('.'), std::string::npos) << r;
    EXPECT_EQ(m.rowText(r), testing_support::screenRow(screen, r)) << r;
  }
}

TEST_F(TerminalEditWindowTest, ATitledWindowKeepsTheTopRowForItsTitle) {
  setup.title = "TFMobile   ~App\"Cruise\"";
  auto window = open();
  EXPECT_EQ(window->cellRows(), term.rows - 1);
  screen.gotoCell(1, 1);
  screen.putText("first");
  host.pump();
  TerminalModel m = shown();
  EXPECT_EQ(m.rowText(1).substr(0, 20), " TFMobile   ~App\"Cru");
  EXPECT_EQ(m.at(1, 2).bg, ui::paletteRgb(ui::kDkBlue));
  EXPECT_EQ(m.rowText(2).substr(0, 5), "first");
  // A click is given in the Screen's rows; one on the title is no cell.
  type("\x1b[<0;3;2M");
  EXPECT_EQ(keys.lastClick().row, 1);
  EXPECT_EQ(keys.lastClick().col, 3);
  drain();
  type("\x1b[<0;3;1M");
  EXPECT_TRUE(drain().empty());
}

TEST_F(TerminalEditWindowTest, ASmallerScreenLeavesTheRestBlankWhite) {
  ui::Screen small(3, 4);
  auto window = host.openEditWindow(small, keys, setup);
  small.putText("abcd");
  host.pump();
  TerminalModel m = shown();
  EXPECT_EQ(m.rowText(1).substr(0, 6), "abcd  ");
  EXPECT_EQ(m.at(1, 5).bg, (Rgb{255, 255, 255}));
  EXPECT_EQ(m.at(30, 100).ch, U' ');
  EXPECT_EQ(m.at(30, 100).bg, (Rgb{255, 255, 255}));
}

TEST_F(TerminalEditWindowTest, CursorInItsCellWithBlinkingShapesAndTheDefaultBackAfter) {
  auto window = open();
  host.pump();
  EXPECT_FALSE(shown().cursorVisible());  // not placed yet
  screen.gotoCell(4, 7);
  host.pump();
  TerminalModel m = shown();
  EXPECT_TRUE(m.cursorVisible());
  EXPECT_EQ(m.cursorRow(), 4);
  EXPECT_EQ(m.cursorCol(), 7);
  EXPECT_EQ(m.cursorShape(), 3);  // overwrite: blinking underline
  screen.setInsertCursor(true);
  host.pump();
  EXPECT_EQ(shown().cursorShape(), 5);  // insert: blinking bar
  screen.suspendCursor(true);
  host.pump();
  EXPECT_FALSE(shown().cursorVisible());
  screen.suspendCursor(false);
  host.pump();
  EXPECT_TRUE(shown().cursorVisible());

  window.reset();
  m = shown();
  EXPECT_EQ(m.cursorShape(), 0);
  EXPECT_EQ(m.at(4, 7).ch, U'.');  // the main screen is back
  EXPECT_TRUE(host.mainWindowHasFocus());
}

TEST_F(TerminalEditWindowTest, PumpWritesOnlyWhenTheScreenChanged) {
  auto window = open();
  screen.gotoCell(10, 10);
  host.pump();
  term.output.clear();
  host.pump();
  EXPECT_EQ(term.output, "");
  screen.gotoCell(1, 50);
  screen.putText("Z");
  screen.gotoCell(10, 10);
  host.pump();
  EXPECT_NE(term.output.find('Z'), std::string::npos);
  EXPECT_LT(term.output.size(), 40u);  // one cell and the cursor put back, not a repaint
  EXPECT_EQ(shown().at(1, 50).ch, U'Z');
}

TEST_F(TerminalEditWindowTest, BoxesAndTheScrollWindowLieOverIt) {
  auto window = open();
  screen.gotoCell(1, 1);
  screen.putText("TOP LINE");
  screen.gotoCell(15, 1);
  screen.putText(std::string(100, '#'));
  host.pump();

  std::string during;
  term.input = {"\r"};
  term.onRead = [&] {
    if (during.empty()) during = shown().rowText(15);
  };
  EXPECT_EQ(host.messageBox("Over the grid", "Caption", ui::kMbOk), ui::kIdOk);
  term.onRead = nullptr;
  EXPECT_NE(during.find("Over the grid"), std::string::npos);  // the box over the grid's row
  EXPECT_EQ(during.substr(0, 3), "###");                       // the grid around it
  TerminalModel m = shown();
  EXPECT_EQ(m.rowText(15), std::string(100, '#'));  // and the grid again under where it was
  EXPECT_EQ(m.rowText(1).substr(0, 8), "TOP LINE");
  EXPECT_EQ(keys.count(), 0);  // the box's Enter was not queued

  ASSERT_TRUE(host.toggleScrollWindow("Help", {"first help line", "second"}));
  EXPECT_NE(shown().rowText(5).find("first help line"), std::string::npos);
  type("\x1b[B");  // Down scrolls the window
  type("q");       // other keys still reach the edit window
  EXPECT_EQ(drain(), std::vector<ui::KeyCode>{'q'});
  ASSERT_TRUE(host.toggleScrollWindow("Help", {}));
  EXPECT_EQ(shown().rowText(15), std::string(100, '#'));
}

TEST_F(TerminalEditWindowTest, KeysGoIntoTheQueueAndWaitWhileItIsFull) {
  auto window = open();
  type("aZ");
  type("\x1b[15~");       // F5
  type("\x1b[27;5;53~");  // Ctrl+5 is F5 too
  type("\x1bOQ");         // F2
  EXPECT_EQ(drain(), (std::vector<ui::KeyCode>{'a', 'Z', k::kF5, k::kF5, k::kF2}));
  type("\x1bx\x1b[1;5A");  // Alt+X, Ctrl+Up
  EXPECT_EQ(drain(), (std::vector<ui::KeyCode>{0x2D00, k::kCtrlUp}));

  // Six keys in one read: five fill the queue, the sixth waits its turn.
  type("abcdef");
  EXPECT_EQ(keys.count(), ui::KeyQueue::kCapacity);
  EXPECT_EQ(drain(), (std::vector<ui::KeyCode>{'a', 'b', 'c', 'd', 'e'}));
  host.pump();
  EXPECT_EQ(drain(), (std::vector<ui::KeyCode>{'f'}));
}

TEST_F(TerminalEditWindowTest, MouseAndWheelFromProductionLevelOne) {
  auto window = open();
  type("\x1b[<0;7;3M\x1b[<0;7;3m");  // a click at row 3, column 7
  EXPECT_EQ(keys.lastClick().row, 3);
  EXPECT_EQ(keys.lastClick().col, 7);
  type("\x1b[<0;7;3M\x1b[<0;7;3m");  // again at once: a double click
  type("\x1b[<0;2;4M\x1b[<32;9;6M\x1b[<0;9;6m");  // pressed, dragged, released elsewhere
  EXPECT_EQ(keys.lastClick().row, 6);
  EXPECT_EQ(keys.lastClick().col, 9);
  EXPECT_EQ(drain(),
            (std::vector<ui::KeyCode>{k::kMouseClick, k::kMouseDoubleClick, k::kMouseClick, k::kMouseRelease}));
  type("\x1b[<64;1;1M\x1b[<65;1;1M");
  EXPECT_EQ(drain(), (std::vector<ui::KeyCode>{k::kWheelForward, k::kWheelBack}));
}

TEST_F(TerminalEditWindowTest, LevelZeroIgnoresTheMouseAndQueuesCtrlK) {
  setup.productionLevel = 0;
  auto window = open();
  type("\x1b[<0;7;3M\x1b[<0;7;3m\x1b[<64;1;1M");
  type("\x0b");
  EXPECT_EQ(drain(), std::vector<ui::KeyCode>{k::kCtrlK});
  EXPECT_EQ(actionCalls, 0);
  EXPECT_EQ(keys.lastClick().row, 0);
}

TEST_F(TerminalEditWindowTest, F1OpensKeyboardHelpAndCtrlKTheActionKeysUnqueued) {
  auto window = open();
  type("\x1bOP");
  EXPECT_EQ(helpCalls, 1);
  type("\x0b");
  type("\x1b[27;5;107~");  // Ctrl+K as modifyOtherKeys reports it
  EXPECT_EQ(actionCalls, 2);
  EXPECT_EQ(keys.count(), 0);
  type("\x1b[27;5;49~");  // Ctrl+1 gives F1's code but is no F1 key: queued
  EXPECT_EQ(helpCalls, 1);
  EXPECT_EQ(drain(), std::vector<ui::KeyCode>{k::kF1});
}

TEST_F(TerminalEditWindowTest, WithoutTheirFunctionsF1AndCtrlKAreQueued) {
  setup.keyboardHelp = nullptr;
  setup.actionKeys = nullptr;
  auto window = open();
  type("\x1bOP\x0b");
  EXPECT_EQ(drain(), (std::vector<ui::KeyCode>{k::kF1, k::kCtrlK}));
}

TEST_F(TerminalEditWindowTest, TouchButtonsInTheBottomRowPushTheirKeys) {
  setup.productionLevel = 3;
  setup.buttons = {{"AK", 0}, {"F10", k::kF10}, {"A5", k::altFunction(5)}};
  auto window = open();
  EXPECT_EQ(window->cellRows(), 29);
  EXPECT_EQ(window->cellColumns(), 100);
  screen.resize(29, 100);
  host.pump();
  std::vector<TouchButtonSpot> spots = layoutTouchButtons(setup.buttons, 100);
  ASSERT_EQ(spots.size(), 3u);
  TerminalModel m = shown();
  const std::string bottom = m.rowText(30);
  EXPECT_EQ(bottom.substr(95), " AK  ");
  EXPECT_EQ(bottom.substr(static_cast<std::size_t>(spots[1].left - 1), 5), " F10 ");
  EXPECT_EQ(bottom.substr(static_cast<std::size_t>(spots[2].left - 1), 5), " A5  ");

  auto click = [&](int row, int col) {
    std::string at = std::to_string(col) + ";" + std::to_string(row);
    type("\x1b[<0;" + at + "M\x1b[<0;" + at + "m");
    clock.advance(1000);  // no double click
  };
  click(30, spots[1].left);
  click(30, spots[2].right);
  click(30, 98);                  // AK
  click(30, spots[2].left - 1);   // the strip between buttons
  click(30, 1);
  click(29, 1);                   // the grid's last row
  EXPECT_EQ(actionCalls, 1);
  EXPECT_EQ(drain(), (std::vector<ui::KeyCode>{k::kF10, k::altFunction(5), k::kMouseClick}));
  EXPECT_EQ(keys.lastClick().row, 29);
}

TEST_F(TerminalEditWindowTest, NoButtonRowBelowLevelTwo) {
  setup.productionLevel = 1;
  setup.buttons = {{"AK", 0}};
  auto window = open();
  EXPECT_EQ(window->cellRows(), 30);
  type("\x1b[<0;99;30M");
  EXPECT_EQ(actionCalls, 0);
  EXPECT_EQ(drain(), std::vector<ui::KeyCode>{k::kMouseClick});
}

TEST(TouchButtonLayout, RightAlignedInTheOrderGivenAndCutWhenNarrow) {
  std::vector<ui::TouchButton> b = {{"AK", 0}, {"F10", k::kF10}, {"F9", k::kF9}};
  std::vector<TouchButtonSpot> spots = layoutTouchButtons(b, 80);
  ASSERT_EQ(spots.size(), 3u);
  EXPECT_EQ(spots[0], (TouchButtonSpot{76, 80, 0}));
  EXPECT_EQ(spots[1], (TouchButtonSpot{70, 74, 1}));
  EXPECT_EQ(spots[2], (TouchButtonSpot{64, 68, 2}));
  EXPECT_EQ(touchButtonAt(spots, 75), -1);
  EXPECT_EQ(touchButtonAt(spots, 64), 2);
  // Only whole buttons: 11 columns hold two, 4 none.
  EXPECT_EQ(layoutTouchButtons(b, 11).size(), 2u);
  EXPECT_TRUE(layoutTouchButtons(b, 4).empty());
}

TEST_F(TerminalEditWindowTest, CellsAndSizesAreTheTerminals) {
  auto window = open();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->cellBased());
  EXPECT_EQ(window->cellRows(), 30);
  EXPECT_EQ(window->cellColumns(), 100);
  EXPECT_EQ(window->clientWidth(), 100);
  EXPECT_EQ(window->clientHeight(), 30);
  ui::FontMetrics f = window->useFont(ui::FontRequest{24, 14, 760});
  EXPECT_EQ(f.charHeight, 1);
  EXPECT_EQ(f.internalLeading, 0);
  EXPECT_EQ(f.averageWidth, 1);
  EXPECT_FALSE(host.mainWindowHasFocus());
  EXPECT_EQ(host.editScreen(), &screen);
  EXPECT_EQ(open(), nullptr);  // one at a time
  window.reset();
  EXPECT_EQ(host.editScreen(), nullptr);
  EXPECT_NE(open(), nullptr);
}

TEST_F(TerminalEditWindowTest, TheTickerRunsAtMostOncePerSecondOfPumping) {
  int ticks = 0;
  host.setTicker([&] {
    ++ticks;
    host.pump();  // a ticker that pumps does not run itself again
  });
  host.pump();
  clock.advance(999);
  host.pump();
  EXPECT_EQ(ticks, 0);
  clock.advance(1);
  host.pump();
  host.pump();
  EXPECT_EQ(ticks, 1);
  clock.advance(3500);  // a late turn does not make up the missed seconds
  host.pump();
  host.pump();
  EXPECT_EQ(ticks, 2);
  clock.advance(1000);
  host.pump();
  EXPECT_EQ(ticks, 3);
}

TEST_F(TerminalEditWindowTest, AHangUpEndsTheEnginesKeyLoops) {
  auto window = open();
  term.endWhenEmpty = true;
  host.pump();
  EXPECT_EQ(keys.take(), k::kAbort);
}

}  // namespace

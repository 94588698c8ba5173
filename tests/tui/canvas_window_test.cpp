// The canvas window in the terminal: what it shows (read back from the bytes
// written), the keys that close it, its menu, its timer on the fake clock, a
// change of the terminal's size, and where texts, labels and scale bars land.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_terminal.hpp"
#include "platform/clock.hpp"
#include "screen_text.hpp"
#include "support/fake_clock.hpp"
#include "terminal_model.hpp"
#include "tui/canvas_window.hpp"
#include "tui/terminal_host.hpp"

namespace {

using namespace tui;
using tui_testing::FakeTerminal;
using tui_testing::TerminalModel;

// Records what the window asked of it; the timer writes its count as a text.
class Recorder : public ui::CanvasController {
 public:
  ui::Drawing drawing;
  int opens = 0, resizes = 0, ticks = 0;
  std::vector<int> commands;
  std::vector<ui::CanvasMetrics> drawnFor;
  std::function<void(ui::CanvasView&, int)> onCommandDo;

  void onOpen(ui::CanvasView&) override { ++opens; }
  ui::Drawing draw(const ui::CanvasMetrics& m) override {
    drawnFor.push_back(m);
    return drawing;
  }
  void onCommand(ui::CanvasView& view, int id) override {
    commands.push_back(id);
    if (onCommandDo) onCommandDo(view, id);
  }
  void onResize(ui::CanvasView&) override { ++resizes; }
  void onTimer(ui::CanvasView& view) override {
    ++ticks;
    drawing.texts = {ui::CanvasText{{0, 0}, "tick " + std::to_string(ticks)}};
    view.redraw();
  }
};

// n cells from row, col of what the terminal shows.
std::u32string cellsAt(const TerminalModel& m, int row, int col, int n) {
  std::u32string out;
  for (int c = col; c < col + n; ++c) out.push_back(m.at(row, c).ch);
  return out;
}

std::string click(int row, int col) {
  return "\x1b[<0;" + std::to_string(col) + ";" + std::to_string(row) + "M\x1b[<0;" + std::to_string(col) + ";" +
         std::to_string(row) + "m";
}

class CanvasWindowTest : public ::testing::Test {
 protected:
  static constexpr int kGuardReads = 400;  // then a quit signal ends a window that did not close

  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  FakeTerminal term{clock};  // 30 × 100
  TerminalHost host{term};
  Recorder recorder;
  ui::CanvasWindowDesc desc;
  int reads = 0;
  std::function<void()> atRead;  // runs at each read, after the count moved on

  void SetUp() override {
    desc.title = "Navigation";
    desc.menu = {{0, "&View", true, {{11, "Zoom &in", true, {}}, {12, "Zoom &out", false, {}}}},
                 {13, "&Target", true, {}}};
    term.onRead = [this] {
      ++reads;
      if (atRead) atRead();
      if (reads >= kGuardReads) term.quit = 15;
    };
    host.setPainter([](CellGrid& g) { g.fill(Cell{U'.', paletteRgb(kWhite), kMainBackground, kAttrNone}); });
  }
  TerminalModel shown() const {
    TerminalModel m(term.rows, term.cols);
    m.feed(term.output);
    return m;
  }
  ui::Host::CanvasOutcome run() { return host.runCanvasWindow(desc, recorder); }
};

TEST_F(CanvasWindowTest, ShowsTitleMenuAndDrawingOverTheWholeScreen) {
  recorder.drawing.circles = {ui::CanvasCircle{{20, 9}, 2, ui::Ink::Destination, "Goal"}};
  term.input = {""};
  TerminalModel seen(1, 1);
  atRead = [&] { seen = shown(); };
  ui::Host::CanvasOutcome out = run();
  EXPECT_TRUE(out.shown);
  EXPECT_EQ(out.result, 0);
  EXPECT_EQ(recorder.opens, 1);

  EXPECT_NE(seen.rowText(1).find(" Navigation "), std::string::npos);
  EXPECT_EQ(seen.at(1, 1).ch, U'┌');
  EXPECT_EQ(seen.at(30, 100).ch, U'┘');
  EXPECT_EQ(cellsAt(seen, 2, 1, 15), U"│ View  Target ");
  EXPECT_EQ(seen.at(2, 100).ch, U'│');
  for (int r = 1; r <= 30; ++r) EXPECT_EQ(seen.rowText(r).find('.'), std::string::npos) << r;
  // The circle at dot 20, 9 is in area cell 10, 2 (screen 5, 12), its label right of it.
  EXPECT_GE(seen.at(5, 12).ch, U'\u2801');
  EXPECT_LE(seen.at(5, 12).ch, U'\u28FF');
  EXPECT_EQ(seen.at(5, 12).fg, paletteRgb(kRed));
  EXPECT_EQ(cellsAt(seen, 5, 14, 4), U"Goal");

  ASSERT_FALSE(recorder.drawnFor.empty());
  const ui::CanvasMetrics& m = recorder.drawnFor.front();
  EXPECT_EQ(m.width, 98 * 2);
  EXPECT_EQ(m.height, 27 * 4);
  EXPECT_EQ(m.charWidth, 2);
  EXPECT_EQ(m.lineHeight, 4);
  EXPECT_FALSE(m.scalableText);
  EXPECT_EQ(m.pointRadius, 2);
  // Closed, the main screen is back.
  EXPECT_EQ(shown().at(1, 1).ch, U'.');
  EXPECT_TRUE(host.mainWindowHasFocus());
}

TEST_F(CanvasWindowTest, F4AndEscapeCloseItAndOtherKeysDoNot) {
  term.endWhenEmpty = false;  // only a close key (or the guard) ends it
  term.input = {"\x1bOS"};
  EXPECT_EQ(run().result, 0);
  EXPECT_EQ(term.quit, 0);
  EXPECT_EQ(reads, 1);

  reads = 0;
  term.input = {"\x1b"};  // a lone Escape counts after its time-out
  for (int i = 0; i < 12; ++i) term.input.push_back("");
  run();
  EXPECT_EQ(term.quit, 0);
  EXPECT_LE(reads, 13);

  reads = 0;
  term.input = {"x", "\x1b[A", "\x1b[15~"};  // a letter, Up, F5
  run();
  EXPECT_EQ(term.quit, 15);
  EXPECT_TRUE(recorder.commands.empty());
}

TEST_F(CanvasWindowTest, AChosenMenuCommandReachesTheController) {
  // F10 opens View on "Zoom in"; Down skips the disabled "Zoom out" back to it.
  term.input = {"\x1b[21~", "\x1b[B", "\r", "\x1bt"};
  TerminalModel open(1, 1);
  atRead = [&] {
    if (reads == 2) open = shown();
  };
  run();
  EXPECT_EQ(recorder.commands, (std::vector<int>{11, 13}));  // Alt+T: the top-level command
  EXPECT_NE(open.rowText(4).find("Zoom in"), std::string::npos);
  EXPECT_NE(open.rowText(5).find("Zoom out"), std::string::npos);
  EXPECT_EQ(open.at(5, 4).fg, dimInk());
}

TEST_F(CanvasWindowTest, ClicksOpenTheMenuAndChooseFromIt) {
  const std::vector<shell::MenuItem> bar = canvasMenu(desc.menu);
  const MenuLayout closed = layoutMenu(bar, nullptr, 2, term.rows, term.cols);
  const CellRect view = closed.titles[0];
  term.input = {click(view.row, view.col + 1), click(5, view.col + 3),  // the disabled item: stays open
                click(20, 50),                                          // outside: closes
                click(view.row, view.col + 1), click(4, view.col + 3)};
  run();
  EXPECT_EQ(recorder.commands, (std::vector<int>{11}));
}

TEST_F(CanvasWindowTest, ACommandMayAskAndEndTheWindow) {
  bool boxOverCanvas = false;
  atRead = [&] {
    TerminalModel m = shown();
    bool title = false, question = false;
    for (int r = 1; r <= term.rows; ++r) {
      title |= m.rowText(r).find(" Navigation ") != std::string::npos;
      question |= m.rowText(r).find("Really?") != std::string::npos;
    }
    boxOverCanvas |= title && question;
  };
  recorder.onCommandDo = [&](ui::CanvasView& view, int) {
    view.end(host.messageBox("Really?", "Go", ui::kMbOkCancel) == ui::kIdOk ? 7 : 8);
  };
  term.input = {"\x1b[21~", "\r", "\r", "\x1bt"};
  ui::Host::CanvasOutcome out = run();
  EXPECT_EQ(out.result, 7);
  EXPECT_TRUE(boxOverCanvas);
  EXPECT_EQ(recorder.commands, (std::vector<int>{11}));  // nothing after it ended
}

TEST_F(CanvasWindowTest, TheTimerTicksOnThePlatformClock) {
  desc.timerMs = 100;
  for (int i = 0; i < 35; ++i) term.input.push_back("");  // 10 ms a read
  TerminalModel last(1, 1);
  atRead = [&] { last = shown(); };
  run();
  EXPECT_EQ(recorder.ticks, 3);
  EXPECT_EQ(cellsAt(last, 3, 2, 6), U"tick 3");  // redrawn as asked
}

TEST_F(CanvasWindowTest, AChangeOfSizeReachesTheController) {
  term.input = {"", "", ""};
  atRead = [&] {
    if (reads == 2) term.rows = 20, term.cols = 60, term.resizePending = true;
  };
  run();
  EXPECT_EQ(recorder.resizes, 1);
  ASSERT_FALSE(recorder.drawnFor.empty());
  EXPECT_EQ(recorder.drawnFor.back().width, 58 * 2);
  EXPECT_EQ(recorder.drawnFor.back().height, 17 * 4);
}

TEST_F(CanvasWindowTest, WithoutAMenuTheAreaStartsBelowTheTitle) {
  desc.menu.clear();
  term.input = {"\x1b[21~", ""};  // F10 opens nothing
  run();
  ASSERT_FALSE(recorder.drawnFor.empty());
  EXPECT_EQ(recorder.drawnFor.front().height, 28 * 4);
  EXPECT_EQ(layoutCanvasWindow(30, 100, false).area, (CellRect{2, 2, 28, 98}));
}

// --- Painting ---------------------------------------------------------------

class CanvasPaint : public ::testing::Test {
 protected:
  const CellRect area{3, 2, 10, 40};  // screen rows 3-12, columns 2-41
  CellGrid grid{14, 44, Cell{U'.', paletteRgb(kWhite), paletteRgb(kWhite), kAttrNone}};
  std::u32string text(int row, int col, int n) const {
    std::u32string out;
    for (int c = col; c < col + n; ++c) out.push_back(grid.at(row, c).ch);
    return out;
  }
};

TEST_F(CanvasPaint, TextsAndScaleBarsLandOnTheirCells) {
  ui::Drawing d;
  d.texts = {ui::CanvasText{{10, 8}, "N 12"}};                    // cell 5, 2
  d.scaleBars = {ui::CanvasScaleBar{{4, 20}, 12, "1km"}};          // cells 2-7 of row 5
  paintDrawing(grid, area, d);
  EXPECT_EQ(text(5, 7, 4), U"N 12");
  EXPECT_EQ(grid.at(5, 7).fg, canvasInk(ui::Ink::Text));
  EXPECT_EQ(grid.at(5, 7).bg, canvasPaper());
  EXPECT_EQ(text(8, 4, 6), U"├────┤");
  EXPECT_EQ(text(7, 5, 3), U"1km");  // centred above it
  EXPECT_EQ(grid.at(8, 3).ch, U' ');
  EXPECT_EQ(grid.at(8, 10).ch, U' ');
}

TEST_F(CanvasPaint, NothingIsWrittenOutsideTheArea) {
  ui::Drawing d;
  d.texts = {ui::CanvasText{{76, 0}, "abcdef"},   // from area column 38: "ab" fit
             ui::CanvasText{{-4, 4}, "wxyz"},     // from column -2: "yz" show
             ui::CanvasText{{0, -4}, "above"},    // row -1
             ui::CanvasText{{0, 40}, "below"}};   // row 10
  d.scaleBars = {ui::CanvasScaleBar{{-2000000000, 12}, 2000000010, "far"},
                 ui::CanvasScaleBar{{70, 36}, 100, "right"}};
  d.lines = {ui::CanvasLine{{-500, -500}, {500, 500}, ui::Ink::Leg}};
  d.circles = {ui::CanvasCircle{{78, 20}, 2, ui::Ink::Start, "long label"}};
  paintDrawing(grid, area, d);
  for (int r = 1; r <= grid.rows(); ++r)
    for (int c = 1; c <= grid.cols(); ++c)
      if (!area.contains(r, c)) {
        EXPECT_EQ(grid.at(r, c).ch, U'.') << r << "," << c;
      }
  EXPECT_EQ(text(3, 40, 2), U"ab");
  EXPECT_EQ(text(4, 2, 2), U"yz");
  EXPECT_FALSE(tui_testing::has(grid, "above"));
  EXPECT_FALSE(tui_testing::has(grid, "below"));
  // A bar reaching far past the area on the left ends with its right tick.
  EXPECT_EQ(grid.at(6, 2).ch, U'─');
  EXPECT_EQ(grid.at(6, 6).ch, U'┤');
  // One starting near the right edge shows its left tick and runs to the edge.
  EXPECT_EQ(grid.at(12, 37).ch, U'├');
  EXPECT_EQ(grid.at(12, 41).ch, U'─');
}

TEST_F(CanvasPaint, InksFollowTheirRoles) {
  ui::Drawing d;
  d.circles = {ui::CanvasCircle{{4, 4}, 0, ui::Ink::Current, ""},
               ui::CanvasCircle{{10, 4}, 0, ui::Ink::Start, ""},
               ui::CanvasCircle{{16, 4}, 0, ui::Ink::Destination, ""},
               ui::CanvasCircle{{22, 4}, 0, ui::Ink::Background, ""}};
  paintDrawing(grid, area, d);
  EXPECT_EQ(grid.at(4, 4).fg, paletteRgb(kTeal));
  EXPECT_EQ(grid.at(4, 7).fg, paletteRgb(kGreen));
  EXPECT_EQ(grid.at(4, 10).fg, paletteRgb(kRed));
  EXPECT_EQ(grid.at(4, 13).fg, paletteRgb(kDkGray));
  EXPECT_EQ(grid.at(4, 4).ch, U'\u2801');  // dot 4, 4: the top left of its cell
  EXPECT_EQ(grid.at(4, 5).ch, U' ');       // empty cells are blanks on the paper
  EXPECT_EQ(grid.at(4, 5).bg, canvasPaper());
}

TEST(CanvasMenu, LabelsAndIdsCarryOverAndDisabledSubmenusDisableTheirItems) {
  const std::vector<ui::MenuItem> menu = {
      {0, "&Map", true, {{1, "&North up", true, {}}, {2, "&Track", false, {}}}},
      {0, "&Off", false, {{3, "&Hidden", true, {}}}},
      {4, "&Quit", true, {}}};
  std::vector<shell::MenuItem> bar = canvasMenu(menu);
  ASSERT_EQ(bar.size(), 3u);
  EXPECT_EQ(bar[0].text, "&Map");
  EXPECT_EQ(bar[0].command, 0);
  ASSERT_EQ(bar[0].items.size(), 2u);
  EXPECT_EQ(bar[0].items[1].command, 2);
  EXPECT_EQ(bar[2].command, 4);
  EXPECT_TRUE(canvasCommandEnabled(menu, 1));
  EXPECT_FALSE(canvasCommandEnabled(menu, 2));
  EXPECT_FALSE(canvasCommandEnabled(menu, 3));
  EXPECT_TRUE(canvasCommandEnabled(menu, 4));
  EXPECT_FALSE(canvasCommandEnabled(menu, 0));
  EXPECT_FALSE(canvasCommandEnabled(menu, 99));
}

}  // namespace

// The scroll window and the progress box of the terminal host.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "fake_terminal.hpp"
#include "platform/clock.hpp"
#include "screen_text.hpp"
#include "support/fake_clock.hpp"
#include "tui/scroll_window.hpp"
#include "tui/terminal_host.hpp"
#include "ui/progress.hpp"

namespace {

using namespace tui;
using tui_testing::FakeTerminal;
using tui_testing::find;
using tui_testing::has;
namespace k = ui::key;

std::vector<std::string> numbered(int n) {
  std::vector<std::string> lines;
  for (int i = 0; i < n; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

class HostWindows : public ::testing::Test {
 protected:
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  FakeTerminal term{clock};
  TerminalHost host{term};
};

TEST(ScrollWindowBox, ATenthLeftFreeOnEverySide) {
  EXPECT_EQ(scrollWindowBox(30, 100), (CellRect{4, 11, 24, 80}));
  EXPECT_EQ(scrollWindowCols(scrollWindowBox(30, 100)), 78);
  EXPECT_EQ(scrollWindowRows(scrollWindowBox(30, 100)), 22);
  CellRect tiny = scrollWindowBox(2, 2);
  EXPECT_GE(tiny.rows, 3);  // never less than a frame around one cell
}

TEST_F(HostWindows, ASecondRequestWithTheSameTitleCloses) {
  EXPECT_EQ(host.scrollWindowColumns(), 78);
  EXPECT_TRUE(host.mainWindowHasFocus());
  ASSERT_TRUE(host.toggleScrollWindow("Help A", numbered(5)));
  ASSERT_NE(host.scrollWindow(), nullptr);
  EXPECT_FALSE(host.mainWindowHasFocus());
  CellGrid g = host.picture();
  EXPECT_EQ(find(g, " Help A ").row, 4);
  EXPECT_EQ(find(g, "line 0").row, 5);
  EXPECT_EQ(find(g, "line 0").col, 12);
  EXPECT_TRUE(host.toggleScrollWindow("Help B", numbered(3)));  // another replaces it
  EXPECT_EQ(host.scrollWindow()->title(), "Help B");
  EXPECT_TRUE(host.toggleScrollWindow("Help B", {}));
  EXPECT_EQ(host.scrollWindow(), nullptr);
  EXPECT_TRUE(host.mainWindowHasFocus());
  EXPECT_FALSE(has(host.picture(), "Help B"));
}

TEST_F(HostWindows, ItsKeysAreUsedThereAndOthersPassOn) {
  host.toggleScrollWindow("Help", numbered(100));
  host.picture();  // sizes the view: 22 rows
  term.input = {"\x1b[6~", "\x1b[B", "x"};  // PageDown, Down, then a key it has no use for
  auto e = host.nextEvent(-1);
  ASSERT_TRUE(e.has_value());
  EXPECT_EQ(e->key, 'x');
  EXPECT_EQ(host.scrollWindow()->firstLine(), 22);
  CellGrid g = host.picture();
  EXPECT_EQ(find(g, "line 22").row, 5);
  EXPECT_FALSE(has(g, "line 21"));
  term.input = {"\r", "\x1b", "", "z"};  // Enter stays there; Escape (after its time-out) closes
  e = host.nextEvent(-1);
  ASSERT_TRUE(e.has_value());
  EXPECT_EQ(e->key, 'z');
  EXPECT_EQ(host.scrollWindow(), nullptr);
}

TEST_F(HostWindows, ScrollBarsShowAndTakeClicks) {
  std::vector<std::string> lines = numbered(100);
  lines[1] = std::string(100, 'w') + "END";
  host.toggleScrollWindow("Help", lines);
  CellGrid g = host.picture();
  const CellRect box = scrollWindowBox(30, 100);
  EXPECT_EQ(g.at(box.row + 1, box.right()).ch, U'\u25B2');
  EXPECT_EQ(g.at(box.bottom() - 1, box.right()).ch, U'\u25BC');
  EXPECT_EQ(g.at(box.bottom(), box.right() - 1).ch, U'\u25BA');
  EXPECT_EQ(g.at(box.row + 2, box.right()).ch, U'\u2588');  // the thumb at the top
  auto click = [&](int row, int col) {
    std::string at = std::to_string(col) + ";" + std::to_string(row);
    return "\x1b[<0;" + at + "M\x1b[<0;" + at + "m";
  };
  // The arrow down, the bar below the thumb, the right arrow; then a click outside.
  term.input = {click(box.bottom() - 1, box.right()), click(box.bottom() - 2, box.right()),
                click(box.bottom(), box.right() - 1), click(2, 2)};
  auto e = host.nextEvent(-1);
  ASSERT_TRUE(e.has_value());
  EXPECT_EQ(e->key, k::kMouseClick);
  EXPECT_EQ(e->row, 2);
  EXPECT_EQ(host.scrollWindow()->firstLine(), 1 + 21);
  EXPECT_EQ(host.scrollWindow()->firstColumn(), 1);
  g = host.picture();
  EXPECT_EQ(g.at(box.row + 2, box.right()).ch, U'\u2591');  // the thumb has moved down
}

TEST_F(HostWindows, AFormAboveTheScrollWindowTakesTheKeys) {
  host.toggleScrollWindow("Help", numbered(100));
  ui::FormController plain;
  ui::Form f;
  f.caption = "Above";
  f.size = {0, 0, 80, 40};
  ui::Control list{5, ui::ControlKind::ListBox, "", {4, 4, 60, 20}};
  f.controls = {list};
  struct Items : ui::FormController {
    void onInit(ui::FormView& v) override { v.setItems(5, {"a", "b", "c"}); v.setSelection(5, 0); }
    void onSelectionChange(ui::FormView& v, int) override { moved = v.selection(5); }
    int moved = -1;
  } items;
  term.input = {"\x1b[B", "\x1b"};
  for (int i = 0; i < 12; ++i) term.input.push_back("");
  EXPECT_EQ(host.runForm(f, items), 0);  // Escape cancelled the form
  EXPECT_EQ(items.moved, 1);            // Down moved its list
  ASSERT_NE(host.scrollWindow(), nullptr);
  EXPECT_EQ(host.scrollWindow()->firstLine(), 0);
  // Back on top, the window has the keys again.
  term.input = {"\x1b[B", "q"};
  EXPECT_EQ(host.nextEvent(-1)->key, 'q');
  EXPECT_EQ(host.scrollWindow()->firstLine(), 1);
}

// A worker that counts to 100 and waits half-way until the test has seen the box.
TEST_F(HostWindows, ProgressBoxShowsTheWorkersTextAndPercentage) {
  std::mutex lock;
  std::condition_variable cv;
  bool go = false;
  std::atomic<bool> sawHalf{false};
  bool sawTitle = false;
  int reads = 0;
  term.onRead = [&] {
    term.input.push_back("");  // the box keeps polling until the worker ends
    if (go) return;
    CellGrid g = host.picture();
    sawTitle = sawTitle || has(g, "Counting Things");
    sawHalf = has(g, "Counted 50") && has(g, "50%") && has(g, "Please Wait");
    // Never seen after many polls: let the worker go so the test fails rather than hangs.
    if (sawHalf || ++reads > 100000) {
      std::lock_guard<std::mutex> guard(lock);
      go = true;
      cv.notify_all();
    }
  };
  term.input = {""};
  ui::ProgressSpec desc;
  desc.title = "Counting Things";
  desc.line1 = "Please Wait";
  desc.line2 = "Starting";
  int result = ui::runWithProgress(host, desc, [&](ui::Progress& p) {
    for (int i = 0; i <= 100; ++i) {
      p.report(i, "Counted " + std::to_string(i));
      if (i == 50) {
        std::unique_lock<std::mutex> guard(lock);
        cv.wait(guard, [&] { return go; });
      }
    }
    return 4242;
  });
  EXPECT_EQ(result, 4242);
  EXPECT_TRUE(sawHalf);
  EXPECT_TRUE(sawTitle);
  EXPECT_FALSE(has(host.picture(), "Counting Things"));  // gone afterwards
}

TEST_F(HostWindows, ProgressWaitsForTheWorkerEvenWhenTheTerminalIsGone) {
  // No input at all: the terminal has ended; the box still waits for the result.
  std::atomic<int> counted{0};
  int result = ui::runWithProgress(host, ui::ProgressSpec{}, [&](ui::Progress& p) {
    for (int i = 0; i < 100; ++i) {
      p.report(i, "");
      ++counted;
    }
    return 7;
  });
  EXPECT_EQ(result, 7);
  EXPECT_EQ(counted, 100);
}

}  // namespace

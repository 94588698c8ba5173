// The common prompts: a framed box in the open edit window's Screen, or a
// message box without it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/prompts.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_host.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace {

using testing_support::FakeClock;
using testing_support::ScriptedHost;

std::vector<std::string> rows(const ui::Screen& s) {
  std::vector<std::string> out;
  for (int r = 1; r <= s.rows(); ++r) out.push_back(s.rowText(r));
  return out;
}

// The row (from 1) whose text holds part, or 0.
int rowWith(const ui::Screen& s, const std::string& part) {
  for (int r = 1; r <= s.rows(); ++r)
    if (s.rowText(r).find(part) != std::string::npos) return r;
  return 0;
}

class Prompts : public ::testing::Test {
 protected:
  void SetUp() override {
    screen.gotoCell(13, 30);
    screen.putText("Tree 12 DBH 34.5");  // what the box must give back
    screen.gotoCell(5, 7);
    before = rows(screen);
    window = host.openEditWindow(screen, keys, {});
    ASSERT_NE(window, nullptr);
  }

  FakeClock clock;
  platform::ScopedClock useClock{clock};
  ScriptedHost host;
  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  std::unique_ptr<ui::EditWindow> window;
  std::vector<std::string> before;
};

TEST_F(Prompts, TimedWarningShowsItsBoxForTheWholeTimeAndPutsTheScreenBack) {
  keys.push('z');  // waiting before the warning: thrown away, so it cannot end it
  std::vector<std::string> whileUp;
  host.onPump = [&] { if (whileUp.empty()) whileUp = rows(screen); };
  const std::uint64_t start = clock.ticks();
  EXPECT_EQ(config::warn(host, "Value Out", "of Range", 250, false, false), 1);
  EXPECT_EQ(clock.ticks() - start, 2500u);
  EXPECT_EQ(host.beeps(), 1);
  EXPECT_TRUE(host.shown().empty());

  ASSERT_FALSE(whileUp.empty());
  const auto at = [&](int r) { return whileUp[static_cast<std::size_t>(r - 1)]; };
  int line1 = 0;
  for (int r = 1; r <= 25; ++r)
    if (at(r).find("Value Out") != std::string::npos) line1 = r;
  ASSERT_GT(line1, 1);
  EXPECT_NE(at(line1 + 1).find("of Range"), std::string::npos);
  EXPECT_EQ(at(line1 + 1).find("of Range"), at(line1).find("Value Out"));
  // The title sits centred on the frame row above the lines.
  const std::size_t title = at(line1 - 1).find("< Warning ! >");
  ASSERT_NE(title, std::string::npos);
  EXPECT_EQ(at(line1).find("Value Out"), title);  // the widest text is the title
  EXPECT_EQ(at(13).find("Tree 12"), std::string::npos);  // covered by the box
}

TEST_F(Prompts, TheBoxIsFramedAndCentred) {
  host.onPump = [&] {
    if (!keys.count()) {
      const int row = rowWith(screen, "three");
      ASSERT_GT(row, 0);
      // Frame columns along the bottom frame row.
      int left = 0, right = 0;
      for (int c = 1; c <= screen.cols(); ++c)
        if (screen.at(row + 1, c).frame) {
          if (!left) left = c;
          right = c;
        }
      EXPECT_EQ(screen.at(row + 1, left).frame, ui::kFrameUp | ui::kFrameRight);
      EXPECT_EQ(screen.at(row + 1, right).frame, ui::kFrameUp | ui::kFrameLeft);
      EXPECT_LE(std::abs((left - 1) - (screen.cols() - right)), 1);
      // Three lines: the frame rows are row - 3 and row + 1, as far from the edges.
      EXPECT_LE(std::abs((row - 3 - 1) - (screen.rows() - (row + 1))), 1);
      const std::string top = screen.rowText(row - 3);
      const std::size_t t = top.find("< Warning ! >");
      ASSERT_NE(t, std::string::npos);
      EXPECT_LE(std::abs(static_cast<int>(t) + 1 - left - (right - static_cast<int>(t + 13))), 1);
      keys.push(ui::key::kEnter);
    }
  };
  EXPECT_EQ(config::warn3(host, "one", "two is a longer line than the title", "three", 250, false, false), 1);
  EXPECT_EQ(rows(screen), before);
}

TEST_F(Prompts, AKeyOrTheAbortEndsTheWaitAndTheScreenIsPutBack) {
  const std::uint64_t start = clock.ticks();
  host.onPump = [&] { if (clock.ticks() >= start + 400 && !keys.count()) keys.push('x'); };
  EXPECT_EQ(config::warn(host, "a", "b", 250, false, false), 1);
  EXPECT_LT(clock.ticks() - start, 500u);
  EXPECT_EQ(rows(screen), before);
  EXPECT_EQ(screen.row(), 5);
  EXPECT_EQ(screen.col(), 7);
  EXPECT_FALSE(screen.cursor().suspended);
  EXPECT_EQ(keys.count(), 0);

  const std::uint64_t again = clock.ticks();
  host.onPump = [&] { if (clock.ticks() >= again + 100) keys.abort(); };
  EXPECT_EQ(config::warn(host, "a", "b", 250, false, false), 1);
  EXPECT_LT(clock.ticks() - again, 200u);
  EXPECT_EQ(rows(screen), before);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(Prompts, WithoutATimeOrTheEditWindowAMessageBoxAsks) {
  host.expectOnce("Delete Line?\n(Y/N)\n", ui::kIdNo, "Warning !");
  EXPECT_EQ(config::warn(host, "Delete Line?", "(Y/N)", 0, true, false), 2);
  window.reset();
  EXPECT_EQ(host.editScreen(), nullptr);
  host.expectOnce("one\ntwo\nthree\n", ui::kIdYes, "Warning !");
  EXPECT_EQ(config::warn3(host, "one", "two", "three", 250, true, false), 1);
  EXPECT_EQ(config::warn(host, "quiet", "please", 0, false, true), 1);
  EXPECT_EQ(host.shown().size(), 2u);
  EXPECT_EQ(host.beeps(), 2);
  EXPECT_EQ(rows(screen), before);
}

TEST_F(Prompts, EveryImageSlotInUseGivesTheMessageBoxInstead) {
  for (int i = 0; i < ui::Screen::kPopupSlots; ++i) ASSERT_NE(screen.pushImage(), 0);
  host.expectOnce("Value Out\nof Range\n", ui::kIdOk, "Warning !");
  EXPECT_EQ(config::warn(host, "Value Out", "of Range", 250, false, false), 1);
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(rows(screen), before);
}

TEST_F(Prompts, AskLetterTakesEitherLetterInAnyCase) {
  const std::vector<std::string> box{"Exit Without Missing", " Data Checks? (Y/N)"};
  std::vector<ui::KeyCode> script{'q', ui::key::kF1, 'N'};
  bool boxSeen = false;
  host.onPump = [&] {
    boxSeen = boxSeen || (rowWith(screen, "Exit Without Missing") > 0 && rowWith(screen, " Data Checks? (Y/N)") > 0);
    if (!script.empty()) {
      keys.push(script.front());
      script.erase(script.begin());
    }
  };
  keys.push('y');  // typed before the question: not an answer
  EXPECT_EQ(config::askLetter(host, box, 'Y', 'N'), 2);
  EXPECT_TRUE(boxSeen);
  EXPECT_EQ(rows(screen), before);

  script = {'y'};
  EXPECT_EQ(config::askLetter(host, box, 'Y', 'N'), 1);
  EXPECT_EQ(rows(screen), before);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(Prompts, AskLetterEndsWithZeroOnTheAbortOrWhenTheWindowCloses) {
  host.onPump = [&] { keys.abort(); };
  EXPECT_EQ(config::askLetter(host, {"?"}, 'Y', 'N'), 0);
  EXPECT_EQ(rows(screen), before);

  keys.reset();
  host.onPump = [&] { window.reset(); };
  EXPECT_EQ(config::askLetter(host, {"?"}, 'Y', 'N'), 0);
  EXPECT_EQ(rows(screen), before);

  host.expectOnce("?\n", ui::kIdNo);
  EXPECT_EQ(config::askLetter(host, {"?"}, 'Y', 'N'), 2);  // no window: the Yes/No box
}

}  // namespace

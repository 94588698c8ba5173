#include <gtest/gtest.h>

#include <deque>

#include "shell/prompts.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_host.hpp"

namespace {

using testing_support::FakeClock;
using testing_support::ScriptedHost;

// An edit window stand-in whose keys arrive at chosen times.
class FakeSurface : public shell::PromptSurface {
 public:
  explicit FakeSurface(FakeClock& clock) : clock_(clock) {}
  std::deque<std::pair<std::uint64_t, ui::KeyCode>> keys;  // (tick, key)
  std::vector<std::string> shownLines;
  std::string shownTitle;
  bool boxUp = false, stop = false;
  int drained = 0, focused = 0;
  std::uint64_t hiddenAt = 0;

  void drainKeys() override { ++drained; }
  void showBox(std::string_view title, const std::vector<std::string>& lines) override {
    shownTitle = std::string(title);
    shownLines = lines;
    boxUp = true;
  }
  void hideBox() override {
    boxUp = false;
    hiddenAt = clock_.ticks();
  }
  ui::KeyCode takeKey() override {
    if (keys.empty() || keys.front().first > clock_.ticks()) return 0;
    ui::KeyCode k = keys.front().second;
    keys.pop_front();
    return k;
  }
  bool stopping() override { return stop; }
  void focus() override { ++focused; }

 private:
  FakeClock& clock_;
};

class Prompts : public ::testing::Test {
 protected:
  FakeClock clock;
  platform::ScopedClock useClock{clock};
  ScriptedHost host;
  FakeSurface surface{clock};
  void TearDown() override { shell::setPromptSurface(nullptr); }
};

TEST_F(Prompts, TimedWarningStaysTwoAndAHalfSecondsUnlessAKeyComes) {
  shell::setPromptSurface(&surface);
  EXPECT_EQ(shell::warn(host, "Value Out", "of Range", 250, false, false), 1);
  EXPECT_EQ(surface.shownTitle, "< Warning ! >");
  EXPECT_EQ(surface.shownLines, (std::vector<std::string>{"Value Out", "of Range"}));
  EXPECT_EQ(surface.hiddenAt, 2500u);
  EXPECT_EQ(host.beeps(), 1);
  EXPECT_EQ(surface.drained, 1);
  EXPECT_EQ(surface.focused, 1);

  std::uint64_t start = clock.ticks();
  surface.keys.push_back({start + 400, 'x'});
  shell::warn(host, "a", "b", 250, false, false);
  EXPECT_LT(surface.hiddenAt - start, 500u);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(Prompts, WithoutTheEditWindowAMessageBoxAsks) {
  host.expectOnce("Delete Line?\n(Y/N)\n", ui::kIdNo, "Warning !");
  EXPECT_EQ(shell::warn(host, "Delete Line?", "(Y/N)", 0, true, false), 2);
  host.expectOnce("one\ntwo\nthree\n", ui::kIdYes, "Warning !");
  EXPECT_EQ(shell::warn3(host, "one", "two", "three", 0, true, false), 1);
  EXPECT_EQ(shell::warn(host, "quiet", "please", 0, false, true), 1);
  EXPECT_EQ(host.shown().size(), 2u);
}

TEST_F(Prompts, AskLetterTakesEitherLetterInAnyCase) {
  shell::setPromptSurface(&surface);
  surface.keys = {{0, 'q'}, {10, 'n'}};
  EXPECT_EQ(shell::askLetter(host, {"Exit Without Missing", " Data Checks? (Y/N)"}, 'Y', 'N'), 2);
  surface.keys = {{clock.ticks(), 'y'}};
  EXPECT_EQ(shell::askLetter(host, {"?"}, 'Y', 'N'), 1);
  surface.stop = true;
  EXPECT_EQ(shell::askLetter(host, {"?"}, 'Y', 'N'), 0);
  EXPECT_FALSE(surface.boxUp);
}

}  // namespace

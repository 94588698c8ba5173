// The main window in the terminal driven through fed bytes: the menu, the
// command bar, the accelerators, the timer and the way out.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "fake_terminal.hpp"
#include "platform/clock.hpp"
#include "platform/registry.hpp"
#include "screen_text.hpp"
#include "shell/main_window.hpp"
#include "shell/startup.hpp"
#include "support/fake_clock.hpp"
#include "support/install_root.hpp"
#include "support/temp_dir.hpp"
#include "tui/main_loop.hpp"
#include "tui/main_screen.hpp"
#include "tui/terminal_host.hpp"

namespace {

using namespace tui;
using shell::MainAction;
using tui_testing::FakeTerminal;
using tui_testing::find;
using tui_testing::has;

constexpr const char* kF10 = "\x1b[21~";
constexpr const char* kRight = "\x1b[C";
constexpr const char* kAltE = "\x1b" "e";
constexpr const char* kAltH = "\x1b" "h";
constexpr const char* kAltS = "\x1b" "s";

std::string clickAt(int row, int col) {
  std::string at = std::to_string(col) + ";" + std::to_string(row);
  return "\x1b[<0;" + at + "M\x1b[<0;" + at + "m";
}

class MainLoopTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  FakeTerminal term{clock};
  TerminalHost host{term};
  shell::StartupValues v;
  std::unique_ptr<shell::MainWindow> window;
  std::unique_ptr<MainLoop> loop;

  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    window = std::make_unique<shell::MainWindow>(host, v);
    window->create();
    loop = std::make_unique<MainLoop>(host, *window);
  }
  // Escape needs its time-out to pass without input: a few empty polls.
  void escape() {
    term.input.push_back("\x1b");
    for (int i = 0; i < 12; ++i) term.input.push_back("");
  }
  // Records which of the texts any picture taken at a read showed.
  std::map<std::string, bool> seen;
  void watchFor(std::initializer_list<std::string> texts) {
    for (const std::string& t : texts) seen[t] = false;
    term.onRead = [this] {
      CellGrid g = host.picture();
      for (auto& [text, was] : seen) was = was || has(g, text);
    };
  }
};

TEST_F(MainLoopTest, MainScreenShowsMenuBarButtonsAndStatus) {
  CellGrid g = host.picture();
  EXPECT_EQ(find(g, "Tallyfin PC").row, 1);
  auto bar = find(g, "Data  Application  Setups  GPS  Pending  Help  Exit");
  EXPECT_EQ(bar.row, 2);
  // One row of six on a 100-column screen; each label under its picture.
  MainScreenLayout l = layoutMainScreen(30, 100);
  EXPECT_EQ(l.bar.columns, 6);
  const char* labels[] = {"Data", "Apps", "Setups", "GPS", "Helps", "Exit Program"};
  for (int i = 0; i < 6; ++i) {
    const CellRect& b = l.bar.buttons[static_cast<std::size_t>(i)];
    std::string row = tui_testing::rowText(g, b.bottom() - 1);
    EXPECT_NE(row.find(labels[i]), std::string::npos) << labels[i];
    EXPECT_EQ(g.at(b.row, b.col).ch, U'\u250C');
    int inked = 0;
    for (int r = b.row + 1; r <= b.row + 3; ++r)
      for (int c = b.col + 1; c < b.right(); ++c) inked += g.at(r, c).ch != U' ';
    EXPECT_GE(inked, 6) << "a picture on " << labels[i];
  }
  EXPECT_TRUE(has(g, "Current Application: None"));
  EXPECT_TRUE(has(g, "Date:"));
}

TEST_F(MainLoopTest, NarrowScreenGivesTwoRowsOfThree) {
  MainScreenLayout l = layoutMainScreen(30, 60);
  EXPECT_EQ(l.bar.columns, 3);
  EXPECT_EQ(l.bar.buttons[3].col, l.bar.buttons[0].col);
  EXPECT_GT(l.bar.buttons[3].row, l.bar.buttons[0].bottom());
  EXPECT_LT(l.bar.buttons[5].bottom(), l.statusRow);
  for (const CellRect& b : l.bar.buttons) EXPECT_LE(b.right(), 60);
  MainScreenLayout flat = layoutMainScreen(14, 100);  // too short for pictures
  EXPECT_FALSE(flat.bar.pictures);
  EXPECT_LT(flat.bar.buttons[0].bottom(), flat.statusRow);
}

TEST_F(MainLoopTest, F10OpensTheMenuAndExitEndsTheLoop) {
  bool sawMenu = false;
  term.onRead = [&] {
    CellGrid g = host.picture();
    auto item = find(g, "Tag For Auto Transfer");
    // The Data menu drops under its title, every command in it offered.
    if (item && item.row == 6 && g.at(item.row, item.col).fg == dialogInk()) sawMenu = true;
  };
  term.input = {kF10, ""};
  escape();
  // Then the Exit entry of the menu bar: Left from Data wraps to it.
  term.input.insert(term.input.end(), {kF10, "\x1b[D", "\r", "", "y"});
  EXPECT_EQ(loop->run(), MainAction::Destroy);
  EXPECT_TRUE(sawMenu);
}

TEST_F(MainLoopTest, PasswordThroughTheMenuThenAskedAtExit) {
  // F10, Right twice to Setups, "2" for Level 2 Password; the change dialog; OK the box.
  term.input = {kF10, kRight, kRight, "2", "pass9", "\t", "pass9", "\r", "\r"};
  // Alt+E: the level-2 password first, then the question.
  term.input.insert(term.input.end(), {kAltE, "", "pass9", "\r", "", "y"});
  watchFor({"Set Level 2 Password", "Level 2 Password", "Exit Tallyfin?"});
  EXPECT_EQ(loop->run(), MainAction::Destroy);
  EXPECT_EQ(v.settings.password2(), "pass9");
  EXPECT_TRUE(seen["Set Level 2 Password"]);
  EXPECT_TRUE(seen["Exit Tallyfin?"]);
}

TEST_F(MainLoopTest, SetupsAcceleratorOpensTheChoiceDialog) {
  // Alt+S, Tab from Preferences past Level 1 to Level 2 Password, Enter; the dialog; then the way out.
  term.input = {kAltS, "", "\t", "\t", "\r", "", "abc", "\t", "abc", "\r", "\r", kAltE, "", "abc\r", "", "y"};
  EXPECT_EQ(loop->run(), MainAction::Destroy);
  EXPECT_EQ(v.settings.password2(), "abc");
}

TEST_F(MainLoopTest, HelpsTwiceOpensAndClosesTheScrollWindow) {
  term.input = {kAltH, "", "\r", ""};
  bool open = false;
  term.onRead = [&] { open = open || host.scrollWindow() != nullptr; };
  term.input.insert(term.input.end(), {kAltH, "", "\r", ""});
  EXPECT_EQ(loop->run(), MainAction::None);  // the input ran out
  EXPECT_TRUE(open);
  EXPECT_EQ(host.scrollWindow(), nullptr);
}

TEST_F(MainLoopTest, ClicksOnTheBarAndTheMenuBar) {
  MainScreenLayout l = layoutMainScreen(30, 100);
  const CellRect& exitButton = l.bar.buttons[5];
  watchFor({"Exit Tallyfin?", "About Tallyfin PC"});
  // Exit Program clicked, answered No; then Help clicked on the menu bar and Escape.
  CellGrid g = host.picture();
  auto help = find(g, " Help ");
  ASSERT_TRUE(help);
  term.input = {clickAt(exitButton.row + 2, exitButton.col + 3), "", "n", clickAt(help.row, help.col + 2), ""};
  escape();
  EXPECT_EQ(loop->run(), MainAction::None);
  EXPECT_TRUE(seen["Exit Tallyfin?"]);
  EXPECT_TRUE(seen["About Tallyfin PC"]);  // an item of the Help menu
}

TEST_F(MainLoopTest, EnterRunsTheFirstButton) {
  watchFor({"Collect Data"});
  term.input = {"\r", ""};
  escape();
  EXPECT_EQ(loop->run(), MainAction::None);
  EXPECT_TRUE(seen["Collect Data"]);  // the Data choice dialog
}

TEST_F(MainLoopTest, AbortFileEndsTheProgramAtTheNextTick) {
  term.input.assign(150, "");  // each empty read lets time pass
  int reads = 0;
  term.onRead = [&] {
    if (++reads == 3) testing_support::writeBytes(window->abortPath(), "");
  };
  EXPECT_EQ(loop->run(), MainAction::EndProgram);
  EXPECT_FALSE(term.input.empty());
}

}  // namespace

// The edit window as the terminal shows it until the data-entry engine
// draws it: what it shows, that it alone takes the input while it is up,
// and every way it goes (Escape, leaving the program, the abort file).
#include <gtest/gtest.h>

#include <map>

#include "demo_fixture.hpp"
#include "screen_text.hpp"
#include "tui/edit_window.hpp"

namespace {

using namespace tui;
using namespace tui_testing;
using shell::MainAction;

constexpr const char* kTitle = "TFMobile   ~App\"Cruise\"  ~Dataset\"North Block\"";
constexpr const char* kPlots = "01 1A____[North Block]ABC___~~PLOTS.dbf";

TEST(EditWindowDrawing, TitleTableDataFileAndHint) {
  datasets::EditSessionStart s;
  s.title = kTitle;
  s.tableName = "PLOTS";
  s.dataFileName = kPlots;
  s.lineCount = 12;
  CellGrid g(30, 100);
  g.putText(10, 10, U"left over", {}, {});
  drawEditWindow(g, s);
  EXPECT_EQ(find(g, kTitle).row, 1);
  EXPECT_EQ(find(g, "Table: PLOTS   Lines: 12").row, 3);
  EXPECT_EQ(find(g, std::string("Data file: ") + kPlots).row, 4);
  EXPECT_EQ(find(g, kEditWindowHint).row, 30);
  EXPECT_FALSE(has(g, "left over"));  // the whole screen is the edit window's
  EXPECT_NE(g.at(1, 100).bg, g.at(15, 50).bg);  // the title bar spans the row

  // A short screen keeps the title and the way back.
  CellGrid small(3, 40);
  drawEditWindow(small, s);
  EXPECT_EQ(find(small, "TFMobile").row, 1);
  EXPECT_EQ(find(small, "Escape: back").row, 3);
  EXPECT_FALSE(has(small, "Table:"));
  CellGrid one(1, 10);
  drawEditWindow(one, s);
  EXPECT_EQ(find(one, "TFMobile").row, 1);
}

class EditWindowLoop : public DemoTest {
 protected:
  void SetUp() override {
    DemoTest::SetUp();
    buildDemo();
    if (HasFatalFailure() || IsSkipped()) return;
    // Selecting pumps the terminal: no input then is no end of it.
    term.endWhenEmpty = false;
    ASSERT_TRUE(window->selectApplicationNamed("Cruise"));
    term.endWhenEmpty = true;
  }
  // Collect Data through the Data button's choice; the first time the
  // dataset is named in the create dialog.
  std::vector<std::string> collectNew(const std::string& name) { return {kAltD, "", "\r", name, "\r"}; }
  std::vector<std::string> collectExisting() { return {kAltD, "", "\r", "", "\r"}; }
  CellGrid picture() { return host.picture(); }
};

TEST_F(EditWindowLoop, CollectDataOpensItAndEscapeBringsTheMainScreenBack) {
  if (IsSkipped()) return;
  EXPECT_EQ(feed(collectNew("North Block")), MainAction::None);
  ASSERT_NE(loop->editWindow(), nullptr);
  EXPECT_TRUE(window->editSessionOpen());
  CellGrid g = picture();
  EXPECT_EQ(find(g, kTitle).row, 1);
  EXPECT_TRUE(has(g, "Table: PLOTS   Lines: 0"));
  EXPECT_TRUE(has(g, kPlots));
  EXPECT_TRUE(has(g, kEditWindowHint));
  EXPECT_FALSE(has(g, "Current Application"));
  EXPECT_FALSE(host.mainWindowHasFocus());  // no update question over the edit window
  EXPECT_TRUE(platform::fileExists(dataFile(kPlots)));
  EXPECT_TRUE(platform::fileExists(dataFile("01 1A____[North Block]ABC___#$$DataAppVer.dbf")));

  // The main window's menu, accelerators and Enter do not reach it.
  std::map<std::string, bool> seen{{"Collect Data", false}, {"Select Application", false}, {"Exit Tallyfin?", false}};
  term.onRead = [&] {
    CellGrid now = host.picture();
    for (auto& [text, was] : seen) was = was || has(now, text);
  };
  EXPECT_EQ(feed({kF10, "", kAltA, "", kAltD, "", "\r", ""}), MainAction::None);
  for (const auto& [text, was] : seen) EXPECT_FALSE(was) << text;
  EXPECT_NE(loop->editWindow(), nullptr);

  EXPECT_EQ(feed(escapeKey()), MainAction::None);
  EXPECT_EQ(loop->editWindow(), nullptr);
  EXPECT_FALSE(window->editSessionOpen());
  EXPECT_EQ(v.tables.openCount(), 0u);
  g = picture();
  EXPECT_TRUE(has(g, "Current Application: Cruise"));
  EXPECT_FALSE(has(g, "TFMobile"));
  EXPECT_TRUE(host.mainWindowHasFocus());

  // Again: the list offers the dataset, chosen with Enter; the version check passes.
  term.onRead = [&] { seen["01 [North Block]"] = seen["01 [North Block]"] || has(host.picture(), "01 [North Block]"); };
  EXPECT_EQ(feed(collectExisting()), MainAction::None);
  EXPECT_TRUE(seen["01 [North Block]"]);
  ASSERT_NE(loop->editWindow(), nullptr);
  EXPECT_EQ(find(picture(), kTitle).row, 1);
  EXPECT_EQ(feed(escapeKey()), MainAction::None);
  EXPECT_FALSE(window->editSessionOpen());
}

TEST_F(EditWindowLoop, AltEAsksAboutTheOpenSessionAndLeavingClosesIt) {
  if (IsSkipped()) return;
  bool asked = false, stillOpenAfterNo = false;
  term.onRead = [&] {
    CellGrid g = host.picture();
    if (has(g, "An Edit Session") && has(g, "is Open") && has(g, "Exit Tallyfin?")) asked = true;
    // The question has come and gone, and the edit window is still up.
    else if (asked && has(g, kTitle) && window->editSessionOpen()) stillOpenAfterNo = true;
  };
  // No keeps the edit window; Yes leaves the program.
  for (const std::string& c : collectNew("North Block") + std::vector<std::string>{kAltE, "", "n", "", kAltE, "", "y"})
    term.input.push_back(c);
  EXPECT_EQ(loop->run(), MainAction::Destroy);
  EXPECT_TRUE(asked);
  EXPECT_TRUE(stillOpenAfterNo);
  // The loop ended with the window open: the session was closed on the way out.
  EXPECT_EQ(loop->editWindow(), nullptr);
  EXPECT_FALSE(window->editSessionOpen());
  EXPECT_EQ(v.tables.openCount(), 0u);
}

TEST_F(EditWindowLoop, TheAbortFileEndsTheProgramWhileEditing) {
  if (IsSkipped()) return;
  for (const std::string& c : collectNew("North Block")) term.input.push_back(c);
  term.input.insert(term.input.end(), 20, "");
  bool editing = false;
  term.onRead = [&] {
    if (loop->editWindow() && !editing) {
      editing = true;
      testing_support::writeBytes(window->abortPath(), "");
    }
  };
  EXPECT_EQ(loop->run(), MainAction::EndProgram);
  EXPECT_TRUE(editing);
  EXPECT_FALSE(term.input.empty());  // ended by the timer, not by running out of input
  EXPECT_FALSE(window->editSessionOpen());
  EXPECT_EQ(v.tables.openCount(), 0u);
}

TEST_F(EditWindowLoop, ARefusedCollectDataLeavesTheMainScreen) {
  if (IsSkipped()) return;
  // Cancel in the create dialog: no dataset, no edit window.
  EXPECT_EQ(feed(std::vector<std::string>{kAltD, "", "\r", ""} + escapeKey()), MainAction::None);
  EXPECT_EQ(loop->editWindow(), nullptr);
  EXPECT_FALSE(window->editSessionOpen());
  EXPECT_TRUE(has(picture(), "Current Application: Cruise"));
}

}  // namespace

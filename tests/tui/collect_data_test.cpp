// Collecting data in the terminal on the demo cruise: Collect Data opens the
// engine's edit window over the whole terminal (the title, the level-1
// screen with its titles and prompt row), F1 on the keyboard toggles the
// keystroke help, Ctrl+K opens the action keys, keyed plot lines are stored
// and shown again when the dataset is opened again, Escape goes back to the
// main screen, and the abort file ends the program while editing.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "datasets/level_tables.hpp"
#include "platform/codepage.hpp"
#include "demo_fixture.hpp"
#include "screen_text.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace {

using namespace tui_testing;
using shell::MainAction;
using tui::CellGrid;

const std::string kPlots = "01 1A____[North Block]ABC___~~PLOTS.dbf";
const std::string kTitle = "TFMobile   ~App\"Cruise\"  ~Dataset\"North Block\"";
const std::string kF1 = "\x1bOP", kPageDown = "\x1b[6~", kPageUp = "\x1b[5~", kCtrlK = "\x0b";

class CollectInTerminal : public DemoTest {
 protected:
  void SetUp() override {
    DemoTest::SetUp();
    buildDemo();
    if (HasFatalFailure() || IsSkipped()) return;
    term.endWhenEmpty = false;
    ASSERT_TRUE(window->selectApplicationNamed("Cruise"));
  }
  std::vector<std::string> collectNew(const std::string& name) { return {kAltD, "", "\r", name, "\r", ""}; }
  std::vector<std::string> collectExisting() { return {kAltD, "", "\r", "", "\r", ""}; }
  // Runs the chunks; remembers whether each text was on the terminal at some read.
  void run(const std::vector<std::string>& chunks, std::map<std::string, bool>& seen) {
    term.onRead = [&] {
      CellGrid g = host.picture();
      for (auto& [text, was] : seen) was = was || has(g, text);
    };
    term.input.insert(term.input.end(), chunks.begin(), chunks.end());
    term.endWhenEmpty = true;
    while (!term.input.empty() && !host.inputEnded()) {
      std::optional<tui::InputEvent> e = host.nextEvent(tui::MainLoop::kTimerMs);
      if (e) (void)loop->onEvent(*e);
    }
    term.onRead = nullptr;
  }
  // The plot lines of the level-1 table, each "PLOT|CREW|NOTES".
  std::vector<std::string> plots() {
    tablestore::TableStore store;
    tablestore::Table* t = store.openTable(platform::toNarrow(dataFile(kPlots)));
    std::vector<std::string> out;
    if (!t) return out;
    auto text = [&](const char* field) {
      std::string s(t->fieldByName(field)->text());
      s.erase(s.find_last_not_of(' ') + 1);
      s.erase(0, s.find_first_not_of(' '));
      return s;
    };
    for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
      (void)t->goRecord(n);
      out.push_back(text("PLOT") + "|" + text("CREW") + "|" + text("NOTES"));
    }
    (void)store.closeTable(t);
    return out;
  }
};

TEST_F(CollectInTerminal, TheEditWindowShowsLevelOneWithItsHelpAndActionKeys) {
  if (IsSkipped()) return;
  std::map<std::string, bool> seen{{kTitle, false},
                                   {"Plot number", false},
                                   {"Crew", false},
                                   {"Plot number (filled in)", false},
                                   {" < KEYSTROKE Help for Line Display >  ", false},
                                   {"Action Key Events", false}};
  // F1 opens and closes the help window; Ctrl+K the action keys, closed with Escape.
  // Escape leaves the level: the main screen again.
  run(collectNew("North Block") + std::vector<std::string>{kF1, "", kF1, "", kCtrlK, ""} + escapeKey() +
          escapeKey() + std::vector<std::string>{""},
      seen);
  for (const auto& [text, was] : seen) EXPECT_TRUE(was) << text;
  EXPECT_FALSE(window->editSessionOpen());
  EXPECT_EQ(host.scrollWindow(), nullptr);
  EXPECT_TRUE(has(host.picture(), "Current Application: Cruise"));
  EXPECT_EQ(v.tables.openCount(), 0u);
}

TEST_F(CollectInTerminal, KeyedPlotLinesAreStoredAndShownAgain) {
  if (IsSkipped()) return;
  // Plot, date (full: moves on), time (full), crew (full), stand, slope,
  // aspect (full), three display columns, notes; PageDown makes line 2.
  auto plot = [](const std::string& n, const std::string& crew, const std::string& notes) {
    return std::vector<std::string>{n, "\r", "050124", "083000", crew, "N12", "\r", "35", "\r", "180",
                                    "\r", "\r", "\r", notes, "\r", ""};
  };
  std::map<std::string, bool> seen{{"windthrow", false}};
  run(collectNew("North Block") + plot("1", "ABR", "windthrow") + std::vector<std::string>{kPageDown, ""} +
          plot("2", "JMC", "steep") + escapeKey() + std::vector<std::string>{""},
      seen);
  EXPECT_TRUE(seen["windthrow"]);
  EXPECT_FALSE(window->editSessionOpen());
  EXPECT_EQ(plots(), (std::vector<std::string>{"1|ABR|windthrow", "2|JMC|steep"}));
  // Opened again: the kept position shows plot 2; PageUp shows plot 1.
  std::map<std::string, bool> again{{"steep", false}, {"windthrow", false}};
  run(collectExisting() + std::vector<std::string>{kPageUp, ""} + escapeKey() + std::vector<std::string>{""}, again);
  EXPECT_TRUE(again["steep"]);
  EXPECT_TRUE(again["windthrow"]);
  EXPECT_EQ(plots().size(), 2u);
}

TEST_F(CollectInTerminal, TheAbortFileEndsTheProgramWhileEditing) {
  if (IsSkipped()) return;
  bool editing = false;
  term.onRead = [&] {
    if (window->editSessionOpen() && !editing) {
      editing = true;
      testing_support::writeBytes(window->abortPath(), "");
    }
  };
  for (const std::string& c : collectNew("North Block")) term.input.push_back(c);
  term.input.insert(term.input.end(), 300, "");
  term.endWhenEmpty = true;
  EXPECT_EQ(loop->run(), MainAction::EndProgram);
  EXPECT_TRUE(editing);
  EXPECT_FALSE(term.input.empty());  // ended by the timer, not by running out of input
  EXPECT_FALSE(window->editSessionOpen());
  EXPECT_EQ(v.tables.openCount(), 0u);
}

}  // namespace

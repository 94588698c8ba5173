// The column search: F3's box, its keys and where the cursor ends, over a
// level whose lines are written into its table before the session starts;
// and the line finders themselves on the level's edit state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/engine.hpp"
#include "editor/find_line.hpp"
#include "editor/help_lists.hpp"
#include "editor/help_popup.hpp"
#include "engine_fixture.hpp"
#include "jump_fixture.hpp"
#include "tablestore/table.hpp"

namespace {

using editor_test::EngineTest;
using editor_test::Key;
using editor_test::LevelStateTest;
using editor_test::typed;
namespace k = ui::key;

// Columns 3 and 4 are never stopped on, so CODE is the last enterable one.
const char* kLevel = R"([ { "code": "A____", "table": "PLOTS",
    "columns": [
      { "field": "NAME", "width": 10, "title": "Name" },
      { "field": "AMOUNT", "type": "N", "width": 6, "decimals": 2, "title": "Amount" },
      { "field": "SKIP", "width": 2, "title": "Skip", "fieldType": "skipped" },
      { "field": "HID", "width": 2, "title": "Hid", "hidden": true },
      { "field": "CODE", "width": 4, "title": "Code" }
    ] } ])";

struct Row {
  std::string name;
  double amount = 0;
  std::string code;
};

void writeRows(tablestore::Table& t, const std::vector<Row>& rows) {
  for (const Row& r : rows) {
    ASSERT_EQ(t.appendStart(), 0);
    ASSERT_EQ(t.fieldByName("NAME")->assignText(r.name), 0);
    ASSERT_EQ(t.fieldByName("AMOUNT")->assignNumber(r.amount), 0);
    ASSERT_EQ(t.fieldByName("CODE")->assignText(r.code), 0);
    ASSERT_EQ(t.append(), 0);
  }
  ASSERT_EQ(t.flush(), 0);
}

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class ColumnSearch : public EngineTest {
 protected:
  void open(const std::vector<Row>& rows) {
    buildApp(kLevel);
    openDataset();
    writeRows(*session.level(1)->table, rows);
  }
  // Runs the keys; the session is stopped when they are used up, and the
  // level's position is read from its edit state.
  void keys(const std::vector<Key>& script) {
    run(script);
    EXPECT_TRUE(ranDry()) << "the script ended the session early";
  }
  std::int32_t line() { return app.level(1)->header.curLine(); }
  int column() { return app.level(1)->header.curColumn(); }
  // Whether some row of the screen, just before key i was given, holds text.
  bool shownBefore(std::size_t i, const std::string& text) const {
    for (const std::string& row : screenBeforeKey(i))
      if (row.find(text) != std::string::npos) return true;
    return false;
  }
  // Runs the keys and then one refresh, whose screen shows what the search left.
  void keysThenLook(std::vector<Key> script) {
    script.push_back({k::kRefresh});
    keys(script);
    after_ = screenBeforeKey(script.size() - 1);
  }
  bool shownAfter(const std::string& text) const {
    for (const std::string& row : after_)
      if (row.find(text) != std::string::npos) return true;
    return false;
  }
  std::vector<std::string> after_;
  // How many keys were given while some row of the screen held text.
  int timesShown(std::size_t keys, const std::string& text) const {
    int n = 0;
    for (std::size_t i = 0; i < keys; ++i) n += shownBefore(i, text) ? 1 : 0;
    return n;
  }
};

const std::vector<Row> kTrees{{"Birch", 5, "b1"}, {"ABC", 12.3, "x1"}, {"Abe", 7.25, "a9"}};

TEST_F(ColumnSearch, ATextFindsTheFirstLineBeginningWithItWhateverTheCase) {
  open(kTrees);
  keysThenLook(std::vector<Key>{{k::kF3}} + typed("ab") + std::vector<Key>{{k::kF5}});
  EXPECT_EQ(line(), 2);
  EXPECT_EQ(column(), 1);
  // The box as the crew sees it while keying.
  EXPECT_TRUE(shownBefore(1, "< Search: F7=Binary >"));
  EXPECT_TRUE(shownBefore(1, "Col: 1 Name"));
  EXPECT_TRUE(shownBefore(1, "For:              "));
  EXPECT_TRUE(shownBefore(1, "Tab ->/<- Change Col"));
  EXPECT_TRUE(shownBefore(1, "< F5-1st F6-Next >"));
  EXPECT_TRUE(shownBefore(3, "ab"));
  ASSERT_FALSE(after_.empty());
  EXPECT_FALSE(shownAfter("< Search: F7=Binary >")) << "the box closes on a find";
}

TEST_F(ColumnSearch, NextOnTheLastLineLooksAtTheLastLineOnly) {
  open({{"Ash", 1, ""}, {"Elm", 2, ""}, {"Oak", 3, ""}});
  // Line 3 by go to line; "ash" is on line 1 only, so F6 there finds nothing.
  const std::vector<Key> script = std::vector<Key>{{k::kF6}} + typed("3") + std::vector<Key>{{k::kEnter}, {k::kF3}} +
                                  typed("ash") + std::vector<Key>{{k::kF6}, {'x'}} + typed("oak") +
                                  std::vector<Key>{{k::kF6}};
  keysThenLook(script);
  EXPECT_EQ(timesShown(script.size() + 1, "Not Found !"), 1) << "oak, on the last line itself, is found";
  EXPECT_GE(timesShown(script.size() + 1, "ash"), 1);
  EXPECT_EQ(line(), 3);
  ASSERT_FALSE(after_.empty());
  EXPECT_FALSE(shownAfter("< Search: F7=Binary >"));
}

TEST_F(ColumnSearch, NextStartsAfterTheCurrentLine) {
  open({{"Ash", 1, ""}, {"Elm", 2, ""}, {"Ash", 3, ""}, {"Ash", 4, ""}});
  keys(std::vector<Key>{{k::kF3}} + typed("ash") + std::vector<Key>{{k::kF6}, {k::kF3}, {k::kF6}});
  EXPECT_EQ(line(), 4) << "the text is kept: the second F6 goes on from line 3";
}

TEST_F(ColumnSearch, TabMovesOverSkippedAndHiddenColumnsStaysOnTheLastOneAndShiftTabGoesBack) {
  open(kTrees);
  keys(std::vector<Key>{{k::kF3}, {k::kTab}, {k::kTab}, {k::kTab}, {k::kShiftTab}} + typed("7.25") +
       std::vector<Key>{{k::kF5}});
  EXPECT_TRUE(shownBefore(2, "Col: 2 Amount"));
  EXPECT_TRUE(shownBefore(3, "Col: 5 Code"));
  EXPECT_TRUE(shownBefore(4, "Col: 5 Code")) << "Tab on the last enterable column keeps it";
  EXPECT_TRUE(shownBefore(5, "Col: 2 Amount"));
  EXPECT_EQ(line(), 3);
  EXPECT_EQ(column(), 2) << "a find makes the search column current";
}

TEST_F(ColumnSearch, HalvingFindsOnASortedLevelAndSaysWhenAValueIsMissing) {
  open({{"Alder", 1, ""}, {"Birch", 2, ""}, {"Cedar", 3, ""}, {"Elm", 4, ""},
        {"Fir", 5, ""}, {"Oak", 6, ""}, {"Pine", 7, ""}});
  const std::vector<Key> script = std::vector<Key>{{k::kF3}} + typed("maple") + std::vector<Key>{{k::kF7}, {'x'}} +
                                  typed("fir") + std::vector<Key>{{k::kF7}};
  keysThenLook(script);
  EXPECT_EQ(timesShown(script.size() + 1, "Not Found !"), 1);
  EXPECT_EQ(line(), 5);
}

TEST_F(ColumnSearch, ANumberMatchesAtTheFieldsDecimals) {
  open(kTrees);
  keys(std::vector<Key>{{k::kF3}, {k::kTab}} + typed("12.30") + std::vector<Key>{{k::kF5}});
  EXPECT_EQ(line(), 2);
  EXPECT_EQ(column(), 2);
}

TEST_F(ColumnSearch, StartsAtTheCurrentColumnTheFirstTimeAndThenKeepsItsColumnAndText) {
  open(kTrees);
  const std::vector<Key> script = std::vector<Key>{{k::kEnter}, {k::kF3}} + typed("7.25") +
                                  std::vector<Key>{{k::kEscape}, {k::kLeft}, {k::kF3}, {k::kF5}};
  keys(script);
  EXPECT_TRUE(shownBefore(2, "Col: 2 Amount")) << "the first search takes the current column";
  EXPECT_TRUE(shownBefore(2, "  0.00")) << "and starts from zero";
  EXPECT_TRUE(shownBefore(9, "Col: 2 Amount")) << "a second search on the level keeps the column";
  EXPECT_EQ(line(), 3) << "and its text: F5 at once finds 7.25";
}

// The finders on the level's edit state, without keys.
class LineFinders : public LevelStateTest {
 protected:
  void SetUp() override {
    LevelStateTest::SetUp();
    buildApp(kLevel);
    openDataset();
    openLevel1();
    set(1, "alder");
    set(2, "0.1");
    ASSERT_EQ(s.table->writeRecord(1), 0);
    writeRows(*s.table, {{"Birch", 12.3, ""}, {"cedar", 12.35, ""}, {"\xC9LAN", -4, ""}});
    s.header().setLineCount(static_cast<std::int32_t>(s.table->recordCount()));
  }
};

TEST_F(LineFinders, TextIsMatchedAsAFoldedPrefixWithoutTrailingBlanks) {
  EXPECT_EQ(editor::findFromLine(s, 1, 1, "CED   "), 3);
  EXPECT_EQ(editor::findFromLine(s, 1, 1, "\xE9la"), 4) << "accented letters fold too";
  EXPECT_EQ(editor::findFromLine(s, 1, 1, "cedars"), 0);
  EXPECT_EQ(editor::findFromLine(s, 1, 4, "alder"), 0) << "the scan starts at the given line";
  EXPECT_EQ(editor::findFromLine(s, 1, 9, "alder"), 0);
}

TEST_F(LineFinders, NumbersAreComparedRoundedToTheFieldsDecimals) {
  EXPECT_EQ(editor::findFromLine(s, 2, 1, " 12.30"), 2);
  EXPECT_EQ(editor::findFromLine(s, 2, 1, "12.3000001"), 2);
  EXPECT_EQ(editor::findFromLine(s, 2, 1, "12.35"), 3);
  EXPECT_EQ(editor::findFromLine(s, 2, 1, "-4"), 4);
  EXPECT_EQ(editor::findFromLine(s, 2, 1, "12.34"), 0);
  EXPECT_LT(editor::compareForSearch(s, 2, " 12.35", "12.3"), 0);
  EXPECT_GT(editor::compareForSearch(s, 2, " 12.30", "12.35"), 0);
}

TEST_F(LineFinders, HalvingProbesTheMiddleAndNarrowsEitherWay) {
  // alder, Birch, cedar, ÉLAN sort ascending once folded.
  EXPECT_EQ(editor::findByHalving(s, 1, "alder"), 1);
  EXPECT_EQ(editor::findByHalving(s, 1, "b"), 2);
  EXPECT_EQ(editor::findByHalving(s, 1, "CEDAR"), 3);
  EXPECT_EQ(editor::findByHalving(s, 1, "\xC9"), 4);
  EXPECT_EQ(editor::findByHalving(s, 1, "beech"), 0);
  EXPECT_EQ(editor::findByHalving(s, 1, "zz"), 0);
}

TEST_F(LineFinders, AScanLeavesTheLineBeingEditedAlone) {
  ASSERT_EQ(s.table->goRecord(1), 0);
  set(1, "changed");
  EXPECT_EQ(editor::findFromLine(s, 1, 1, "cedar"), 3);
  EXPECT_EQ(s.table->recordNumber(), 1);
  EXPECT_GT(s.table->changed(), 0) << "the edit is neither written nor lost";
  EXPECT_EQ(text(1), "changed");
}

// F1 from the keyboard opens the keystroke help in the scroll window; a
// second F1 closes it.
class HelpWindow : public EngineTest {};

TEST_F(HelpWindow, OpensAndASecondRequestClosesIt) {
  ui::Screen screen;
  ui::KeyQueue queue;
  editor::EngineHooks hooks;
  editor::Engine e(host, ctx, session, hooks, screen, queue);
  editor::toggleHelpWindow(e, false);
  ASSERT_TRUE(host.scrollWindow.has_value());
  EXPECT_EQ(host.scrollWindow->title(), editor::kLineHelpTitle);
  EXPECT_FALSE(host.scrollWindow->lines().empty());
  editor::toggleHelpWindow(e, false);
  EXPECT_FALSE(host.scrollWindow.has_value());
  editor::toggleHelpWindow(e, true);
  ASSERT_TRUE(host.scrollWindow.has_value());
  EXPECT_EQ(host.scrollWindow->title(), editor::kVirtualHelpTitle);
}

}  // namespace

// Storing lines and the checks over them: the missing-data check of a
// level, required numbers keyed as 0, the unique-entry check and the removal
// of empty lines at the end of a level.
#include <gtest/gtest.h>

#include "editor/line_checks.hpp"
#include "editor/line_ops.hpp"
#include "editor/movement.hpp"
#include "editor/value_checks.hpp"
#include "line_fixture.hpp"

namespace {

using editor_test::LineEngineTest;

const char* kLevel = R"([ { "code": "A____", "table": "PLOTS",
    "columns": [
      { "field": "PLOT", "type": "N", "width": 4, "fieldType": "display",
        "fill": "line-number", "start": 0, "step": 10 },
      { "field": "NAME", "width": 8, "required": true },
      { "field": "COUNT", "type": "N", "width": 3, "required": true },
      { "field": "CODE", "width": 4, "unique": true },
      { "field": "AMOUNT", "type": "N", "width": 5, "unique": true } ] } ])";

constexpr int kName = 2, kCount = 3, kCode = 4, kAmount = 5;

class LineChecks : public LineEngineTest {};

TEST_F(LineChecks, TheLevelCheckStopsOnTheFirstFailingLineNotTheCurrentOne) {
  startEngine(kLevel);
  addLines({{{"NAME", "a"}, {"COUNT", "1"}},
            {{"NAME", ""}, {"COUNT", "2"}},
            {{"NAME", "c"}, {"COUNT", ""}},
            {{"NAME", ""}, {"COUNT", "4"}}});
  ASSERT_TRUE(editor::enterLine(e(), 4));
  s().header().setCurColumn(kAmount);
  EXPECT_FALSE(editor::checkLevel(e()));
  EXPECT_EQ(s().line(), 2);
  EXPECT_EQ(s().column(), kName);
  EXPECT_EQ(s().table->recordNumber(), 2);
  // Once line 2 is mended the next failure is line 3's count.
  ASSERT_TRUE(editor::writeColumnText(s(), kName, "b"));
  ASSERT_TRUE(editor::storeLine(e()));
  EXPECT_FALSE(editor::checkLevel(e()));
  EXPECT_EQ(s().line(), 3);
  EXPECT_EQ(s().column(), kCount);
}

TEST_F(LineChecks, ARequiredNumberKeyedAsZeroIsData) {
  startEngine(kLevel);
  addLines({{{"NAME", "a"}, {"COUNT", "0"}}, {{"NAME", "b"}, {"COUNT", "3"}}});
  ASSERT_TRUE(editor::enterLine(e(), 2));
  s().header().setCurColumn(kCode);
  EXPECT_TRUE(editor::checkLevel(e()));
  // The cursor is back where it was.
  EXPECT_EQ(s().line(), 2);
  EXPECT_EQ(s().column(), kCode);
  EXPECT_TRUE(editor::checkLine(e(), true, false));
}

TEST_F(LineChecks, TheLevelCheckNeverWritesTheUnsavedLine) {
  startEngine(kLevel);
  addLines({{{"NAME", "a"}, {"COUNT", "1"}}, {{"NAME", "b"}, {"COUNT", "2"}}});
  ASSERT_TRUE(editor::writeColumnText(s(), kName, "changed"));
  EXPECT_TRUE(editor::checkLevel(e()));
  EXPECT_EQ(column(kName)[0], "a");  // the file still holds the stored line
  EXPECT_EQ(editor::currentText(s(), kName), "changed ");
  EXPECT_GT(s().table->changed(), 0);
}

TEST_F(LineChecks, AUniqueColumnRefusesAnotherLinesValueButNotItsOwn) {
  startEngine(kLevel);
  addLines({{{"NAME", "a"}, {"CODE", "AB"}, {"AMOUNT", "12.0"}},
            {{"NAME", "b"}, {"CODE", "CD"}, {"AMOUNT", "7"}}});
  host.expect("Entry Must\nBe Unique");
  EXPECT_FALSE(editor::uniqueCheck(e(), kCode, "CD"));
  EXPECT_TRUE(host.sawText("Be Unique"));
  host.clearShown();
  EXPECT_TRUE(editor::uniqueCheck(e(), kCode, "AB"));
  EXPECT_TRUE(editor::uniqueCheck(e(), kCode, " CD"));  // text is compared exactly
  EXPECT_TRUE(editor::uniqueCheck(e(), kCode, "cd"));
  EXPECT_FALSE(editor::uniqueCheck(e(), kCode, "CD  "));  // as the field holds it
  EXPECT_FALSE(editor::uniqueCheck(e(), kAmount, "7.0"));  // numbers by value
  EXPECT_TRUE(editor::uniqueCheck(e(), kAmount, "12"));
  EXPECT_TRUE(editor::uniqueCheck(e(), kCode, ""));
  EXPECT_EQ(s().table->recordNumber(), 1);
}

TEST_F(LineChecks, RemovingEmptyLinesStopsAtTheFirstLineWithData) {
  startEngine(kLevel);
  addLines({{{"NAME", "a"}}, {{"NAME", ""}}, {{"NAME", "c"}}, {{"PLOT", "40"}}, {{"COUNT", ""}}});
  EXPECT_EQ(editor::removeTrailingEmptyLines(e()), 2);
  EXPECT_EQ(s().lineCount(), 3);
  EXPECT_EQ(column(kName), (std::vector<std::string>{"a", "", "c"}));
  EXPECT_FALSE(s().header().leftEmpty());
}

TEST_F(LineChecks, RemovingEmptyLinesKeepsTheUnsavedCurrentLine) {
  startEngine(kLevel);
  addLines({{{"NAME", "a"}}, {{"NAME", ""}}, {{"NAME", ""}}});
  ASSERT_TRUE(editor::enterLine(e(), 2));
  ASSERT_TRUE(editor::writeColumnText(s(), kName, "typed"));
  EXPECT_EQ(editor::removeTrailingEmptyLines(e()), 1);
  EXPECT_EQ(s().lineCount(), 2);
  EXPECT_EQ(s().line(), 2);
  EXPECT_EQ(editor::currentText(s(), kName), "typed   ");
}

struct NoGps : editor::EngineHooks {
  bool lineMoveAllowed(editor::Engine&, editor::LineMove) override { return false; }
};

TEST_F(LineChecks, AnUnmetGpsRequirementKeepsTheLineUnstored) {
  NoGps hooks;
  startEngine(kLevel, hooks);
  addLines({{{"NAME", "a"}}});
  ASSERT_TRUE(editor::writeColumnText(s(), kName, "b"));
  EXPECT_FALSE(editor::storeLine(e()));
  EXPECT_EQ(column(kName)[0], "a");
}

}  // namespace

namespace {

// A level that checks each line when the cursor leaves it.
const char* kCheckedLines = R"([ { "code": "A____", "table": "PLOTS", "settings": { "checkOnLineChange": 1 },
    "columns": [
      { "field": "NAME", "width": 8, "required": true },
      { "field": "COUNT", "type": "N", "width": 3, "required": true } ] } ])";

class LineChange : public LineEngineTest {};

TEST_F(LineChange, ALineLacksRequiredDataSoTheCursorStaysOnIt) {
  startEngine(kCheckedLines);
  addLines({{{"NAME", "a"}, {"COUNT", ""}}, {{"NAME", "b"}, {"COUNT", "2"}}});
  s().header().setCurColumn(1);
  // Neither to another line nor to a new one: the cursor goes to the count.
  EXPECT_FALSE(editor::goLine(e(), 2));
  EXPECT_EQ(s().line(), 1);
  EXPECT_EQ(s().column(), 2);
  ASSERT_TRUE(editor::writeColumnText(s(), 2, "1"));
  EXPECT_TRUE(editor::goLine(e(), 2));
  EXPECT_EQ(s().line(), 2);
  // From the complete last line a new one is made; from the new one, blank
  // as it is, no further line.
  EXPECT_TRUE(editor::stepLines(e(), 1));
  EXPECT_EQ(s().lineCount(), 3);
  EXPECT_FALSE(editor::stepLines(e(), 1));
  EXPECT_EQ(s().lineCount(), 3);
  EXPECT_EQ(s().line(), 3);
}

}  // namespace

namespace {

class NewLines : public LineEngineTest {};

// The record a new line puts into the file already holds its initial
// values: killed before the line is stored, it is still numbered.
TEST_F(NewLines, AnAppendedLineIsWrittenWithItsInitialValues) {
  startEngine(kLevel);
  addLines({{{"NAME", "a"}, {"COUNT", "1"}}});
  ASSERT_TRUE(editor::appendLine(e()));
  EXPECT_EQ(s().line(), 2);
  ASSERT_EQ(s().table->flush(), 0);
  const auto numbers = column(1);
  ASSERT_EQ(numbers.size(), 2u);
  EXPECT_EQ(numbers[1], "20");
}

}  // namespace

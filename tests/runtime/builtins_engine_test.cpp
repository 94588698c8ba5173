// The built-ins of the cursor, the lines and the columns, run on a real
// engine: what a program reads is the engine's state, and what it asks of
// the lines is done (or refused) by the engine's own line operations.
#include <gtest/gtest.h>

#include "apps/layout.hpp"
#include "editor/column_values.hpp"
#include "engine_program_fixture.hpp"
#include "runtime/run_errors.hpp"

namespace {

using runtime_test::EngineProgramTest;
namespace lh = apps::layout::level_header;

// A program that stores the result of each call line in the numeric
// variable r1, r2, ... and ends with 1.
std::string storing(const std::vector<std::string>& calls) {
  std::string src;
  for (std::size_t i = 0; i < calls.size(); ++i) src += "num r" + std::to_string(i + 1) + "\n";
  for (std::size_t i = 0; i < calls.size(); ++i) src += "ref r" + std::to_string(i + 1) + "\n" + calls[i] + "\nop =\n";
  return src + "push 1\nend\n";
}

// The same with one string variable t receiving a text result.
std::string storingText(const std::string& call) {
  return "str t[80]\nsvar t\n" + call + "\nop =\npush 1\nend\n";
}

class PositionBuiltins : public EngineProgramTest {};

TEST_F(PositionBuiltins, ReadTheCursorAndTheLevelsCounts) {
  startPlots();
  ASSERT_TRUE(editor::goLine(e(), 2));
  s().header().setCurColumn(3);
  auto r = run(storing({"call column", "call line", "call columns", "call lines", "call firstColumn",
                        "call lastColumn"}));
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("r1"), 3);
  EXPECT_EQ(r.number("r2"), 2);
  EXPECT_EQ(r.number("r3"), 3);
  EXPECT_EQ(r.number("r4"), 3);
  EXPECT_EQ(r.number("r5"), s().header().firstEnterableColumn());
  EXPECT_EQ(r.number("r6"), s().header().lastEnterableColumn());
  EXPECT_EQ(machine.status, 0);
}

TEST_F(PositionBuiltins, WithoutAnEditSessionTheyAnswerDataFileNotOpen) {
  runtime::Machine m;
  runtime::RunContext none;
  auto r = runtime_test::runProgram(storing({"call line", "push 1\ncall columnLength"}), m, none);
  ASSERT_EQ(r.error(), 0);  // a status, not a run error
  EXPECT_EQ(r.number("r1"), 0);
  EXPECT_EQ(r.number("r2"), 0);
  EXPECT_EQ(m.status, runtime::kErrDataNotOpen);
  auto t = runtime_test::runProgram(storingText("push 1\ncall columnType"), m, none);
  EXPECT_EQ(t.text("t"), "");
  EXPECT_EQ(m.status, runtime::kErrDataNotOpen);
}

TEST_F(PositionBuiltins, GoCellStoresTheLineAndEntersTheOther) {
  startPlots();
  ASSERT_TRUE(editor::writeColumnText(s(), 3, "changed"));
  auto r = run(storing({"push 2\npush 3\ncall goCell"}));
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(s().line(), 3);
  EXPECT_EQ(s().column(), 2);
  EXPECT_EQ(column(3)[0], "changed");  // line 1 was stored on leaving
  r = run(storing({"push 1\npush 9\ncall goCell", "push 4\npush 2\ncall goCell"}));
  EXPECT_EQ(r.number("r1"), 0);
  EXPECT_EQ(r.number("r2"), 0);
  EXPECT_EQ(machine.status, runtime::kErrColumnRange);  // the second call's
  EXPECT_EQ(s().line(), 3);
}

TEST_F(PositionBuiltins, ALineExitProgramThatRefusesKeepsTheCursor) {
  hooks.add("STAY", "push 0\nend\n");
  startPlots();
  ctx.app.level(1)->header.setEventProgram(lh::kEventLineExit, "STAY");
  auto r = run(storing({"push 1\npush 2\ncall goCell", "push 0\npush 1\ncall moveBy", "call appendLine",
                        "call storeLine"}));
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("r1"), 0);
  EXPECT_EQ(r.number("r2"), 0);
  EXPECT_EQ(r.number("r3"), 0);
  EXPECT_EQ(r.number("r4"), 0);
  EXPECT_EQ(s().line(), 1);
  EXPECT_EQ(s().lineCount(), 3);
  EXPECT_EQ(hooks.count("STAY"), 4);
}

TEST_F(PositionBuiltins, MoveByStepsLinesThenColumnsAndAppendsPastTheEnd) {
  startPlots();
  auto r = run(storing({"push 2\npush 1\ncall moveBy"}));
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(s().line(), 2);
  EXPECT_EQ(s().column(), 3);
  // Past the last line one new line is made; an empty last line is not followed by more.
  r = run(storing({"push -5\npush 4\ncall moveBy"}));
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(s().lineCount(), 4);
  EXPECT_EQ(s().line(), 4);
  EXPECT_EQ(s().column(), 1);  // clamped to the first enterable column
}

TEST_F(PositionBuiltins, AppendLineStopsAtTheLevelsMaximum) {
  startPlots();
  auto r = run(storing({"call appendLine", "call appendLine", "call appendLine"}));
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(r.number("r2"), 1);
  EXPECT_EQ(r.number("r3"), 0);  // five lines is the maximum
  EXPECT_EQ(s().lineCount(), 5);
  EXPECT_EQ(s().line(), 5);
  EXPECT_EQ(level1Records().size(), 5u);
}

TEST_F(PositionBuiltins, InsertAndDeleteAskNoQuestion) {
  startPlots();
  ASSERT_TRUE(editor::goLine(e(), 2));
  // The scripted host fails the test on any question it was not told of.
  auto r = run(storing({"call insertLine"}));
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(s().lineCount(), 4);
  EXPECT_EQ(s().line(), 2);
  EXPECT_EQ(column(1), (std::vector<std::string>{"P1", "", "P2", "P3"}));
  r = run(storing({"call deleteLine", "call deleteLine"}));
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(r.number("r2"), 1);
  EXPECT_EQ(column(1), (std::vector<std::string>{"P1", "P3"}));
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(PositionBuiltins, TheOnlyLineOfTheFirstLevelStaysAndForbiddenInsertsAreRefused) {
  startPlots();
  auto r = run(storing({"call deleteLine", "call deleteLine", "call deleteLine"}));
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(r.number("r2"), 1);
  EXPECT_EQ(r.number("r3"), 0);
  EXPECT_EQ(s().lineCount(), 1);
  EXPECT_FALSE(s().header().leaveLevel());
  s().header().setInsertAllowed(false);
  EXPECT_EQ(run(storing({"call insertLine"})).number("r1"), 0);
  EXPECT_EQ(s().lineCount(), 1);
}

TEST_F(PositionBuiltins, RedrawPutsTheLinesOnTheScreen) {
  startPlots();
  auto r = run(storing({"call redraw"}));
  EXPECT_EQ(r.number("r1"), 1);
  bool shown = false;
  for (int row = 1; row <= screen.rows(); ++row) shown = shown || screen.rowText(row).find("P3") != std::string::npos;
  EXPECT_TRUE(shown);
}

TEST_F(PositionBuiltins, BlockedTablesOfTheLevelAreSetEntryByEntry) {
  startPlots();
  apps::LevelBct& bct = ctx.app.level(1)->bct;
  auto r = run(storing({"push 1\npush 1\ncall setChildBlocked", "push 1\npush 0\ncall setChildBlocked",
                        "push 40\npush 7\ncall setSiblingBlocked"}));
  EXPECT_EQ(r.number("r1"), 0);  // each answers the entry as it was
  EXPECT_EQ(r.number("r2"), 1);
  EXPECT_FALSE(bct.childBlocked(1));
  EXPECT_TRUE(bct.siblingBlocked(26));  // the entry is capped at 26
  EXPECT_FALSE(bct.siblingBlocked(25));
}

class ColumnBuiltins : public EngineProgramTest {};

TEST_F(ColumnBuiltins, TheTableFieldOfAColumn) {
  startPlots();
  auto r = run(storing({"push 2\ncall columnLength", "push 2\ncall columnDecimals", "push 3\ncall columnLength"}));
  EXPECT_EQ(r.number("r1"), 6);
  EXPECT_EQ(r.number("r2"), 2);
  EXPECT_EQ(r.number("r3"), 8);
  EXPECT_EQ(run(storingText("push 2\ncall columnType")).text("t"), "N");
  EXPECT_EQ(run(storingText("push 1\ncall columnType")).text("t"), "C");
  EXPECT_EQ(run(storingText("push 4\ncall columnType")).text("t"), "");
  EXPECT_EQ(machine.status, runtime::kErrColumnRange);
  EXPECT_EQ(run(storing({"push 0\ncall columnLength"})).number("r1"), 0);
  EXPECT_EQ(machine.status, runtime::kErrColumnRange);
}

TEST_F(ColumnBuiltins, AttributesReadAsDesignedAndWrittenAsGiven) {
  startPlots();
  auto r = run(storing({"push 2\ncall checkKind", "push 2\ncall lowLimit", "push 2\ncall highLimit",
                        "push 2\ncall required", "push 2\ncall fillKind"}));
  EXPECT_EQ(r.number("r1"), 1);  // a range check
  EXPECT_EQ(r.number("r2"), 0);
  EXPECT_EQ(r.number("r3"), 100);
  EXPECT_EQ(r.number("r4"), 0);
  EXPECT_EQ(r.number("r5"), 0);
  run(storing({"push 2\npush 5\ncall setFieldType", "push 2\npush 2\ncall setFillKind",
               "push 2\npush 2\ncall setCheckKind", "push 2\npush -1.5\ncall setLowLimit",
               "push 2\npush 50.25\ncall setHighLimit", "push 2\npush 1\ncall setRequired",
               "push 3\npush \"codes.dbf  \"\ncall setCheckFile"}));
  const apps::ColumnCheck& c2 = ctx.app.level(1)->checks[2];
  EXPECT_EQ(c2.fieldType(), 5);
  EXPECT_EQ(c2.fillKind(), 2);
  EXPECT_EQ(c2.checkType(), 2);
  EXPECT_EQ(c2.minimum(), -1.5);
  EXPECT_EQ(c2.maximum(), 50.25);
  EXPECT_TRUE(c2.checkEmpty());
  EXPECT_EQ(ctx.app.level(1)->checks[3].checkFile(), "codes.dbf");
  EXPECT_EQ(run(storingText("push 3\ncall checkFile")).text("t"), "codes.dbf");
  EXPECT_EQ(run(storing({"push 2\ncall highLimit"})).number("r1"), 50.25);
  s().header().setRedrawLines(false);
  r = run(storing({"push 1\ncall setSkipped", "push 3\ncall setDisplayOnly", "push 1\ncall fieldType",
                    "push 3\ncall fieldType"}));
  EXPECT_EQ(r.number("r3"), 11);
  EXPECT_EQ(r.number("r4"), 6);
  EXPECT_TRUE(s().header().redrawLines());  // the column shows in its new state's colours
}

TEST_F(ColumnBuiltins, ALimitSetByAProgramIsTheOneTheChecksApply) {
  startPlots();
  s().header().setCurColumn(2);
  run(storing({"push 2\npush 50\ncall setHighLimit"}));
  s().editBuffer = "60";
  EXPECT_EQ(run(storing({"call validate"})).number("r1"), 0);
  s().editBuffer = "40";
  EXPECT_EQ(run(storing({"call validate"})).number("r1"), 1);
}

TEST_F(ColumnBuiltins, FieldNamesAndColumnNumbersOfALevel) {
  startPlots();
  EXPECT_EQ(run(storingText("push 0\npush 2\ncall fieldName")).text("t"), "AREA");
  EXPECT_EQ(run(storingText("push 1\npush 3\ncall fieldName")).text("t"), "NOTE");
  auto r = run(storing({"push 1\npush \"note\"\ncall columnNumber", "push 0\npush \"TREE\"\ncall columnNumber"}));
  EXPECT_EQ(r.number("r1"), 3);
  EXPECT_EQ(r.number("r2"), 0);
  EXPECT_EQ(machine.status, 0);
  run(storing({"push 7\npush \"PLOT\"\ncall columnNumber"}));
  EXPECT_EQ(machine.status, runtime::kErrBadDataSource);
  run(storing({"push 2\npush \"PLOT\"\ncall columnNumber"}));
  EXPECT_EQ(machine.status, runtime::kErrDataNotOpen);  // level 2 is not open
}

}  // namespace

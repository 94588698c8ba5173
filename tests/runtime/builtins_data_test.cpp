// The built-ins of the dataset's data, the open application and the data
// file names, run on a real engine and inside scripted edit sessions: what a
// program writes reaches the table file, the engine's copy of the current
// line and the screen, and the line being edited never loses a change.
#include <gtest/gtest.h>

#include "apps/app_definition.hpp"
#include "apps/layout.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "datasets/child_levels.hpp"
#include "editor/column_values.hpp"
#include "engine_program_fixture.hpp"
#include "runtime/run_errors.hpp"

namespace {

using runtime_test::EngineProgramTest;
using editor_test::Key;
using editor_test::typed;
namespace k = ui::key;

// A program that stores the result of each call line in r1, r2, ... (texts
// in the string variables t1, t2, ...) and ends with 1.
std::string storing(const std::vector<std::string>& calls, bool texts = false) {
  std::string src;
  for (std::size_t i = 0; i < calls.size(); ++i)
    src += (texts ? "str t" : "num r") + std::to_string(i + 1) + (texts ? "[120]\n" : "\n");
  for (std::size_t i = 0; i < calls.size(); ++i)
    src += (texts ? "svar t" : "ref r") + std::to_string(i + 1) + "\n" + calls[i] + "\nop =\n";
  return src + "push 1\nend\n";
}
std::string storingTexts(const std::vector<std::string>& calls) { return storing(calls, true); }

class DataBuiltins : public EngineProgramTest {
 protected:
  // The level-1 line's file, in the dataset's naming, of the child TREES below key.
  std::string treesFile(const std::string& key) const {
    return base::format("%02d 2AA___[Test]%s~%s~TREES.dbf", session.datasetNumber, session.unitCode.c_str(),
                        key.c_str());
  }
  // Opens TREES below the current plot as the level change does, with one line.
  void openTrees() {
    ASSERT_EQ(datasets::openChildTable(ctx, session, 1, "TREES", 1), 1);
    ASSERT_TRUE(editor::openLevelState(engine->levels[2], 2, *ctx.app.level(2), *session.level(2)->table));
    engine->current = 2;
    ASSERT_TRUE(editor::appendLine(e()));
  }
};

TEST_F(DataBuiltins, ACellReadsAsANumberOrAsItsText) {
  startPlots();
  auto r = run(storing({"push 0\npush 2\npush 1\ncall getData", "push 1\npush 2\npush 2\ncall getData",
                        "push 0\npush 3\npush 1\ncall getData"}));
  EXPECT_EQ(r.number("r1"), 10.5);
  EXPECT_EQ(r.number("r2"), 20);
  EXPECT_EQ(r.number("r3"), 0);  // "first" holds no number
  auto t = run(storingTexts({"push 0\npush 2\npush 1\ncall getData text", "push 0\npush 1\npush 2\ncall getData text",
                             "push 0\npush 3\npush 1\ncall getData text"}));
  EXPECT_EQ(t.text("t1"), "10.50");
  EXPECT_EQ(t.text("t2"), "P2");
  EXPECT_EQ(t.text("t3"), "first");
  EXPECT_EQ(machine.status, 0);
}

TEST_F(DataBuiltins, CellsOutsideTheDatasetSetTheirStatus) {
  startPlots();
  struct Case {
    const char* args;
    int status;
  };
  for (const Case& c : {Case{"push 0\npush 2\npush 0", runtime::kErrLineRange},
                        Case{"push 0\npush 2\npush 4", runtime::kErrLineRange},
                        Case{"push 0\npush 4\npush 1", runtime::kErrColumnRange},
                        Case{"push 6\npush 1\npush 1", runtime::kErrBadDataSource},
                        Case{"push -1\npush 1\npush 1", runtime::kErrBadDataSource},
                        Case{"push 2\npush 1\npush 1", runtime::kErrDataNotOpen}}) {
    auto r = run(storing({std::string(c.args) + "\ncall getData"}));
    EXPECT_EQ(r.number("r1"), 0) << c.args;
    EXPECT_EQ(machine.status, c.status) << c.args;
    auto t = run(storingTexts({std::string(c.args) + "\ncall getData text"}));
    EXPECT_EQ(t.text("t1"), "") << c.args;
    EXPECT_EQ(machine.status, c.status) << c.args;
  }
}

TEST_F(DataBuiltins, WritingAnotherLineLeavesTheEditedLineAlone) {
  startPlots();
  ASSERT_TRUE(editor::writeColumnText(s(), 3, "edited"));
  auto r = run(storing({"push \"x\"\npush 0\npush 3\npush 2\ncall putData"}));
  EXPECT_EQ(r.number("r1"), 1);
  auto t = run(storingTexts({"push 0\npush 3\npush 1\ncall getData text", "push 3\ncall getColumn text"}));
  EXPECT_EQ(t.text("t1"), "edited");  // the current line reads as the crew left it
  EXPECT_EQ(t.text("t2"), "edited");
  EXPECT_EQ(column(3), (std::vector<std::string>{"first", "x", ""}));
  EXPECT_EQ(s().line(), 1);
  EXPECT_EQ(s().table->recordNumber(), 1);
  EXPECT_EQ(base::trimRight(editor::currentText(s(), 3)), "edited");
  EXPECT_GT(s().table->changed(), 0);  // still to be stored when the line is left
  ASSERT_TRUE(editor::storeLine(e()));
  EXPECT_EQ(column(3), (std::vector<std::string>{"edited", "x", ""}));
}

TEST_F(DataBuiltins, AValueIsConvertedToTheColumnsType) {
  startPlots();
  auto r = run(storing({"push \"12.345\"\npush 0\npush 2\npush 3\ncall putData",
                        "push 7.25\npush 0\npush 3\npush 3\ncall putData"}));
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(r.number("r2"), 1);
  EXPECT_EQ(column(2)[2], "12.35");
  EXPECT_EQ(column(3)[2], "7.25");
  r = run(storing({"push 1234567\npush 0\npush 2\npush 3\ncall putData"}));
  EXPECT_EQ(r.number("r1"), 0);
  EXPECT_EQ(machine.status, runtime::kErrCantProcess);
  EXPECT_EQ(column(2)[2], "12.35");  // a number that does not fit writes nothing
}

TEST_F(DataBuiltins, WritingTheCurrentLineKeepsTheEnginesCopyInStep) {
  startPlots();
  auto r = run(storing({"push 55\npush 0\npush 2\npush 1\ncall putData", "push \"memo\"\npush 3\ncall putColumn"}));
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(r.number("r2"), 1);
  EXPECT_EQ(s().header().columnValue(2), 55);
  EXPECT_EQ(s().header().columnValue(3), 4);  // a text column's value is its length
  EXPECT_EQ(editor::currentText(s(), 2), " 55.00");
  EXPECT_EQ(column(2)[0], "55.00");
  EXPECT_EQ(column(3)[0], "memo");
  EXPECT_TRUE(s().header().redrawLines());
  auto t = run(storingTexts({"push 3\ncall getColumn text"}));
  EXPECT_EQ(t.text("t1"), "memo");
}

TEST_F(DataBuiltins, HasValueTellsEmptyCellsApart) {
  startPlots();
  ASSERT_TRUE(editor::goLine(e(), 3));
  auto r = run(storing({"push 1\ncall hasValue", "push 2\ncall hasValue", "push 3\ncall hasValue",
                        "push 0\npush 2\ncall putColumn", "push 2\ncall hasValue", "push 9\ncall hasValue"}));
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(r.number("r2"), 0);
  EXPECT_EQ(r.number("r3"), 0);
  EXPECT_EQ(r.number("r5"), 0);  // 0 written into a numeric column is no value
  EXPECT_EQ(r.number("r6"), 0);
  EXPECT_EQ(machine.status, runtime::kErrColumnRange);
}

TEST_F(DataBuiltins, TheStateTextHoldsAHundredCharacters) {
  startPlots();
  auto r = run(storing({"push \"12.5 m\"\ncall setStateText", "call stateText"}));
  EXPECT_EQ(r.number("r2"), 12.5);
  EXPECT_EQ(run(storingTexts({"call stateText text"})).text("t1"), "12.5 m");
  const std::string longText(150, 'x');
  r = run(storing({"push \"" + longText + "\"\ncall setStateText"}));
  EXPECT_EQ(r.number("r1"), 100);
  EXPECT_EQ(s().header().stateText(), std::string(100, 'x'));
}

TEST_F(DataBuiltins, TheApplicationsTextsAndStoredNumbers) {
  startPlots();
  ctx.app.appCtl().setAppName("Plot cruise");
  auto t = run(storingTexts({"call appName", "call appTitle", "call appFolder", "call appVersion"}));
  EXPECT_EQ(t.text("t1"), "Fields");
  EXPECT_EQ(t.text("t2"), "Plot cruise");
  EXPECT_EQ(t.text("t3"), v.settings.path(config::SettingsRecord::Path::AppFolder));
  EXPECT_EQ(t.text("t4"), "001.000");
  auto r = run(storing({"push 2.5\ncall stored2/1", "call stored2", "call stored4"}));
  EXPECT_EQ(r.number("r1"), 2.5);
  EXPECT_EQ(r.number("r2"), 2.5);
  EXPECT_EQ(r.number("r3"), 0);
  EXPECT_EQ(ctx.app.appCtl().storedValue(1), 2.5);
}

TEST_F(DataBuiltins, TheDataFileNamesOfTheLevels) {
  startPlots();
  const std::string own = session.level(1)->fileName;
  auto t = run(storingTexts({"call dataFilePrefix", "call dataFileName", "push \"plots\"\ncall tableFileName",
                             "push \"TREES\"\ncall childFileName"}));
  EXPECT_EQ(t.text("t1"), base::format("%02d", session.datasetNumber));
  EXPECT_EQ(t.text("t2"), own);
  EXPECT_EQ(t.text("t3"), own);
  EXPECT_EQ(t.text("t4"), treesFile("P1  "));  // the key as stored, full width
  EXPECT_EQ(machine.status, 0);
}

TEST_F(DataBuiltins, ANameOfNoTableBelowIsRefused) {
  startPlots();
  EXPECT_EQ(run(storingTexts({"push \"REGEN\"\ncall childFileName"})).text("t1"), "");
  EXPECT_EQ(machine.status, runtime::kErrNoBranch);
  // TREES lies below the current level: only childFileName names it.
  EXPECT_EQ(run(storingTexts({"push \"TREES\"\ncall tableFileName"})).text("t1"), "");
  EXPECT_EQ(machine.status, runtime::kErrNoBranch);
  // A key that cannot stand in a file name gives no name.
  ASSERT_TRUE(editor::writeColumnText(s(), 1, "a~b"));
  EXPECT_EQ(run(storingTexts({"push \"TREES\"\ncall childFileName"})).text("t1"), "");
  EXPECT_EQ(machine.status, runtime::kErrNoName);
}

TEST_F(DataBuiltins, AChildLevelReachesItsParentsLine) {
  startPlots();
  openTrees();
  auto t = run(storingTexts({"push 1\npush 1\npush 1\ncall getData text", "push 0\npush 1\npush 1\ncall getData text",
                             "push \"TREES\"\ncall tableFileName", "call dataFileName"}));
  EXPECT_EQ(t.text("t1"), "P1");
  EXPECT_EQ(t.text("t2"), "P1");  // the parent fill of the new tree line
  EXPECT_EQ(t.text("t3"), treesFile("P1  "));
  EXPECT_EQ(t.text("t4"), treesFile("P1  "));
  auto r = run(storing({"push \"seen\"\npush 1\npush 3\npush 1\ncall putData"}));
  EXPECT_EQ(r.number("r1"), 1);
  EXPECT_EQ(column(3)[0], "seen");
  EXPECT_EQ(engine->levels[1].header().columnValue(3), 4);
  EXPECT_EQ(base::trimRight(editor::currentText(engine->levels[1], 3)), "seen");
}

// ---- inside scripted edit sessions

class SessionPrograms : public editor_test::EngineTest {
 protected:
  runtime_test::ProgramHooks hooks;
};

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
const std::vector<Key> kEnter{{k::kEnter}}, kEscape{{k::kEscape}}, kF5{{k::kF5}};

TEST_F(SessionPrograms, AnEntryProgramFillsItsCellAndTheScreenShowsIt) {
  buildApp(runtime_test::kPlotLevels);
  openDataset();
  host.expect("Exit Without Missing", ui::kIdYes);
  ctx.app.level(1)->checks[3].setProgram(apps::layout::column_check::kEventEntry, "FILL");
  hooks.add("FILL", "push \"auto\"\npush 3\ncall putColumn\nend\n");
  EXPECT_EQ(run(typed("P1") + kEnter + typed("5") + kEnter + kEscape, hooks), editor::EditSession::End::Left);
  EXPECT_FALSE(ranDry());
  EXPECT_EQ(hooks.count("FILL"), 1);
  EXPECT_TRUE(shownBeforeAnyKey("auto"));
  auto records = level1Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0], (std::vector<std::string>{"P1", "5.00", "auto"}));
}

TEST_F(SessionPrograms, AProgramOnTheChildLevelReadsTheParentLine) {
  // The program file travels in the package; the hooks run its text.
  testing_support::writeBytes(dir.file("LOOK"), "assembled by the hooks");
  std::string levels = runtime_test::kPlotLevels;
  const std::string tree = R"({ "field": "TREE", "width": 3 })";
  levels.replace(levels.find(tree), tree.size(), R"({ "field": "TREE", "width": 3, "programs": { "entry": "LOOK" } })");
  buildApp(levels, "[]", R"(["LOOK"])");
  openDataset();
  host.expect("Exit Without Missing", ui::kIdYes);
  hooks.add("LOOK", "str key[20]\nstr file[120]\nnum count\n"
                    "svar key\npush 1\npush 1\npush 1\ncall getData text\nop =\n"
                    "svar file\ncall dataFileName\nop =\n"
                    "ref count\ncall lines\nop =\npush 1\nend\n");
  EXPECT_EQ(run(typed("P7") + kEnter + kF5 + typed("T1") + kEnter + kEscape + kEscape, hooks),
            editor::EditSession::End::Left);
  EXPECT_FALSE(ranDry());
  ASSERT_GE(hooks.count("LOOK"), 1);
  const auto& first = hooks.runs().front().run;
  EXPECT_EQ(first.text("key"), "P7");
  EXPECT_EQ(first.text("file"), base::format("%02d 2AA___[Test]%s~P7  ~TREES.dbf", session.datasetNumber,
                                             session.unitCode.c_str()));
  EXPECT_EQ(first.number("count"), 1);
}

}  // namespace

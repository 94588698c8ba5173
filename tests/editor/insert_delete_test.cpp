// F9 and F10 on a level whose key is its line-number column: the new or
// remaining lines are renumbered and the child files of every line follow
// its key; a deleted line takes exactly its own child files with it.
#include <gtest/gtest.h>

#include "base/paths.hpp"
#include "datasets/child_levels.hpp"
#include "datasets/data_names.hpp"
#include "editor/later_commands.hpp"
#include "line_fixture.hpp"
#include "editor/renumber_lines.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"

namespace {

using editor_test::LineEngineTest;

const char* kLevels = R"([
  { "code": "A____", "table": "PLOTS",
    "columns": [
      { "field": "PLOT", "type": "N", "width": 4, "fieldType": "display",
        "fill": "line-number", "start": 0, "step": 10 },
      { "field": "NAME", "width": 8 } ] },
  { "code": "AA___", "table": "TREES",
    "columns": [
      { "field": "PLOT", "type": "N", "width": 4, "fieldType": "skipped" },
      { "field": "TREE", "type": "N", "width": 3 } ] } ])";

class LineInsertDelete : public LineEngineTest {
 protected:
  std::string raw(int level, const std::string& keys, const std::string& ext = "dbf", int number = 0) {
    datasets::RawName r;
    r.datasetNumber = number ? number : session.datasetNumber;
    r.level = level;
    r.levelCode = level == 2 ? "AA___" : "AAA__";
    r.datasetName = session.datasetName;
    r.unitCode = session.unitCode;
    r.keyPath = keys;
    r.tableName = level == 2 ? "TREES" : "LOGS";
    r.extension = ext;
    std::string out;
    EXPECT_TRUE(datasets::buildRawName(r, out));
    return out;
  }
  std::string path(const std::string& name) { return base::joinPath(session.dataFolder, name, platform::kSep); }
  bool exists(const std::string& name) { return platform::fileExists(path(name)); }
  // A child table whose records hold the plot key, a marker and a PARENT.
  void child(const std::string& name, const std::string& plot, const std::string& marker,
             const std::string& parent = "") {
    tablestore::TableStore store;
    std::vector<tablestore::FieldSpec> fields = {{"PLOT", 'N', 4, 0}, {"TREE", 'C', 3, 0}, {"PARENT", 'C', 80, 0}, {}};
    tablestore::Table* t = store.createTable(path(name), fields);
    ASSERT_NE(t, nullptr) << name;
    ASSERT_EQ(t->appendStart(), 0);
    if (!plot.empty()) {
      ASSERT_EQ(t->fieldByNumber(1)->assignNumber(std::stod(plot)), 0);
    }
    ASSERT_EQ(t->fieldByNumber(2)->assignText(marker), 0);
    ASSERT_EQ(t->fieldByNumber(3)->assignText(parent), 0);
    ASSERT_EQ(t->append(), 0);
    ASSERT_EQ(store.closeTable(t), 0);
  }
  // {plot key, marker, PARENT} of a child table's first record.
  std::vector<std::string> first(const std::string& name) {
    tablestore::TableStore store;
    tablestore::Table* t = store.openTable(path(name));
    EXPECT_NE(t, nullptr) << name;
    if (!t || t->goRecord(1) != 0) return {};
    std::vector<std::string> out;
    for (int j = 1; j <= 3; ++j) out.push_back(base::trim(t->fieldByNumber(j)->text()));
    (void)store.closeTable(t);
    return out;
  }
  void threePlots() {
    startEngine(kLevels);
    addLines({{{"PLOT", "10"}, {"NAME", "a"}}, {{"PLOT", "20"}, {"NAME", "b"}}, {{"PLOT", "30"}, {"NAME", "c"}}});
    child(raw(2, "  10"), "10", "T10");
    child(raw(3, "  10-  1"), "10", "L10", raw(2, "  10"));
    child(raw(2, "  20"), "20", "T20");
    child(raw(2, "  30"), "30", "T30");
    ASSERT_EQ(platform::writeWholeFile(path(raw(2, "  10", "db$")), "x", 1), 0);
    // Another dataset's table of the same key.
    child(raw(2, "  10", "dbf", session.datasetNumber + 1), "10", "X10");
  }
};

TEST_F(LineInsertDelete, InsertingAtLineOneRenumbersFromTheStartAndStep) {
  startEngine(kLevels);
  addLines({{{"NAME", "a"}}, {{"NAME", "b"}}, {{"NAME", "c"}}});
  host.expectOnce("Insert Line?", ui::kIdYes);
  editor::insertLine(e());
  EXPECT_EQ(s().lineCount(), 4);
  EXPECT_EQ(s().line(), 1);
  EXPECT_EQ(column(1), (std::vector<std::string>{"10", "20", "30", "40"}));
  EXPECT_EQ(column(2), (std::vector<std::string>{"", "a", "b", "c"}));
}

TEST_F(LineInsertDelete, NoAnswerInsertsNothing) {
  startEngine(kLevels);
  addLines({{{"NAME", "a"}}});
  host.expectOnce("Insert Line?", ui::kIdNo);
  editor::insertLine(e());
  EXPECT_EQ(s().lineCount(), 1);
}

TEST_F(LineInsertDelete, InsertingMovesTheChildrenOfTheFollowingLines) {
  threePlots();
  host.expectOnce("Insert Line?", ui::kIdYes);
  editor::insertLine(e());
  EXPECT_EQ(column(1), (std::vector<std::string>{"10", "20", "30", "40"}));
  EXPECT_EQ(column(2), (std::vector<std::string>{"", "a", "b", "c"}));
  EXPECT_FALSE(exists(raw(2, "  10")));
  EXPECT_EQ(first(raw(2, "  20")), (std::vector<std::string>{"20", "T10", ""}));
  EXPECT_EQ(first(raw(2, "  30")), (std::vector<std::string>{"30", "T20", ""}));
  EXPECT_EQ(first(raw(2, "  40")), (std::vector<std::string>{"40", "T30", ""}));
  EXPECT_EQ(first(raw(3, "  20-  1")), (std::vector<std::string>{"20", "L10", raw(2, "  20")}));
  EXPECT_TRUE(exists(raw(2, "  20", "db$")));
  EXPECT_EQ(first(raw(2, "  10", "dbf", session.datasetNumber + 1))[1], "X10");
}

TEST_F(LineInsertDelete, DeletingALineTakesItsChildrenAndRenumbersTheRest) {
  threePlots();
  host.expectOnce("Delete Current Line?", ui::kIdYes);
  host.expectOnce("This Will ALSO ERASE", ui::kIdYes);
  editor::deleteLine(e());
  EXPECT_EQ(column(1), (std::vector<std::string>{"10", "20"}));
  EXPECT_EQ(column(2), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(first(raw(2, "  10")), (std::vector<std::string>{"10", "T20", ""}));
  EXPECT_EQ(first(raw(2, "  20")), (std::vector<std::string>{"20", "T30", ""}));
  EXPECT_FALSE(exists(raw(2, "  30")));
  EXPECT_FALSE(exists(raw(3, "  10-  1")));
  EXPECT_FALSE(exists(raw(2, "  10", "db$")));
  EXPECT_EQ(first(raw(2, "  10", "dbf", session.datasetNumber + 1))[1], "X10");
  EXPECT_EQ(e().change, editor::Engine::LevelChange::None);
}

TEST_F(LineInsertDelete, RefusingToEraseTheChildrenKeepsTheLine) {
  threePlots();
  host.expectOnce("Delete Current Line?", ui::kIdYes);
  host.expectOnce("This Will ALSO ERASE", ui::kIdNo);
  editor::deleteLine(e());
  EXPECT_EQ(s().lineCount(), 3);
  EXPECT_TRUE(exists(raw(2, "  10")));
}

TEST_F(LineInsertDelete, DeletingTheOnlyLineOfLevelOneLeavesTheLevel) {
  startEngine(kLevels);
  addLines({{{"PLOT", "10"}, {"NAME", "a"}}});
  child(raw(2, "  10"), "10", "T10");
  host.expectOnce("Delete Current Line?", ui::kIdYes);
  host.expectOnce("This Will ALSO ERASE", ui::kIdYes);
  editor::deleteLine(e());
  EXPECT_EQ(e().change, editor::Engine::LevelChange::Leave);
  EXPECT_TRUE(s().header().leaveLevel());
  EXPECT_EQ(s().lineCount(), 1);
  EXPECT_TRUE(exists(raw(2, "  10")));
}

TEST_F(LineInsertDelete, ABlankKeyDeletesNoChildFile) {
  startEngine(kLevels);
  addLines({{{"NAME", "a"}}, {{"PLOT", "20"}, {"NAME", "b"}}});
  child(raw(2, "    "), "", "T00");
  host.expectOnce("Delete Current Line?", ui::kIdYes);
  host.expectOnce("This Will ALSO ERASE", ui::kIdYes);
  editor::deleteLine(e());
  EXPECT_EQ(column(2), (std::vector<std::string>{"b"}));
  EXPECT_TRUE(exists(raw(2, "    ")));
}

TEST_F(LineInsertDelete, DeletingTheLastLineOfALowerLevelDeletesItAndLeaves) {
  startEngine(kLevels);
  addLines({{{"PLOT", "10"}, {"NAME", "a"}}});
  ASSERT_EQ(datasets::openChildTable(ctx, session, 1, "TREES", 1), 1);
  ASSERT_TRUE(editor::openLevelState(e().levels[2], 2, *ctx.app.level(2), *session.level(2)->table));
  e().current = 2;
  ASSERT_TRUE(editor::appendLine(e()));
  ASSERT_EQ(s().lineCount(), 1);
  host.expectOnce("Delete Current Line?", ui::kIdYes);
  editor::deleteLine(e());
  EXPECT_EQ(s().lineCount(), 0);
  EXPECT_EQ(s().table->recordCount(), 0);
  EXPECT_EQ(e().change, editor::Engine::LevelChange::Leave);
  EXPECT_TRUE(s().header().linesDeleted());
}

}  // namespace

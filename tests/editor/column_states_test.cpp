// Conditional column states: the level's condition rows switch columns
// between required, skipped and display only and clear them, by the values
// of the current line (or another level's); keyed through the engine, the
// skipped column is passed over and its cleared value is on file.
#include <gtest/gtest.h>

#include "editor/column_values.hpp"
#include "editor/field_formats.hpp"
#include "base/paths.hpp"
#include "jump_fixture.hpp"
#include "tfabuild/build.hpp"
#include "tablestore/table.hpp"

namespace {

using editor_test::Key;
using editor_test::LevelStateTest;
using editor_test::typed;
namespace k = ui::key;

enum Col { kCrown = 1, kStatus, kHt, kDefect, kNote };

// Conditions on STATUS and DEFECT; row 0 and row 1 both hold for D with a
// defect of 50-99, so row 0 must win there.
const char* kLevel = R"([ { "code": "A____", "table": "TREES", "settings": { "checkOnLeave": false },
    "screens": [ { "type": "line", "promptRow": 24 } ],
    "columns": [
      { "field": "CROWN", "width": 1, "title": "Crown", "upperCase": true },
      { "field": "STATUS", "width": 1, "title": "L/D", "upperCase": true },
      { "field": "HT", "type": "N", "width": 3, "title": "Height" },
      { "field": "DEFECT", "type": "N", "width": 2, "title": "Defect" },
      { "field": "NOTE", "width": 8, "title": "Note", "required": true }
    ],
    "conditions": {
      "columns": [ "STATUS", "DEFECT" ],
      "rows": [
        { "when": [ { "equals": "D" }, { "range": [50, 99] } ],
          "actions": { "CROWN": "display-clear", "NOTE": "skip" } },
        { "when": [ { "equals": "D" }, { "range": [0, 99] } ],
          "actions": { "CROWN": "skip-clear", "HT": "required" } },
        { "when": [ { "equals": "L" }, { "range": [0, 99] } ],
          "actions": { "HT": "display", "NOTE": "clear" } }
      ] } } ])";

class ColumnStates : public LevelStateTest {
 protected:
  void SetUp() override {
    LevelStateTest::SetUp();
    buildApp(kLevel);
    openDataset();
    openLevel1();
  }
  editor::ColumnStatesResult evaluate() { return editor::evaluateColumnStates(s, levels); }
  // The trimmed fields of the current line as the table file holds it.
  std::vector<std::string> onFile() {
    std::string record;
    EXPECT_EQ(s.table->peekRecord(s.line(), record), 0);
    std::vector<std::string> out;
    for (int c = 1; c <= s.columnCount(); ++c) {
      std::string t = editor::fieldText(s, c, record);
      t.erase(0, t.find_first_not_of(' ') == std::string::npos ? t.size() : t.find_first_not_of(' '));
      t.erase(t.find_last_not_of(' ') + 1);
      out.push_back(t);
    }
    return out;
  }
};

TEST_F(ColumnStates, SkipAndClearBlanksTheColumnAndWritesTheRecord) {
  set(kCrown, "C");
  set(kStatus, "D");
  set(kDefect, "10");
  auto r = evaluate();
  EXPECT_EQ(r.row, 1);
  EXPECT_TRUE(r.cleared);
  EXPECT_EQ(fieldType(kCrown), editor::kTypeSkipped);
  EXPECT_FALSE(required(kCrown));
  EXPECT_TRUE(required(kHt));
  EXPECT_EQ(text(kCrown), "");
  EXPECT_EQ(s.header().columnValue(kCrown), 0);
  // The record on file already has the cleared column and the rest of the line.
  EXPECT_EQ(onFile(), (std::vector<std::string>{"", "D", "", "10", ""}));
  // Untouched columns keep their own states.
  EXPECT_EQ(fieldType(kNote), editor::kTypeGeneral);
  EXPECT_TRUE(required(kNote));
}

TEST_F(ColumnStates, TheFirstRowThatHoldsWinsAndRangesIncludeTheirBounds) {
  set(kCrown, "C");
  set(kStatus, "D");
  for (const char* defect : {"50", "99"}) {
    set(kDefect, defect);
    auto r = evaluate();
    EXPECT_EQ(r.row, 0) << defect;
    EXPECT_EQ(fieldType(kCrown), editor::kTypeDisplayOnly);
    EXPECT_EQ(fieldType(kNote), editor::kTypeSkipped);
    EXPECT_FALSE(required(kNote));  // skipping drops the required flag
    EXPECT_FALSE(required(kHt));    // row 1's action is not applied as well
  }
  EXPECT_EQ(text(kCrown), "");
  set(kDefect, "49");
  EXPECT_EQ(evaluate().row, 1);
}

TEST_F(ColumnStates, StatesGoBackWhenTheConditionNoLongerHolds) {
  set(kStatus, "D");
  set(kDefect, "60");
  ASSERT_EQ(evaluate().row, 0);
  set(kStatus, "X");
  auto r = evaluate();
  EXPECT_EQ(r.row, -1);
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(fieldType(kCrown), editor::kTypeGeneral);
  EXPECT_EQ(fieldType(kNote), editor::kTypeGeneral);
  EXPECT_TRUE(required(kNote));
  EXPECT_FALSE(required(kHt));
  // Nothing new to do: no change reported, nothing written.
  r = evaluate();
  EXPECT_FALSE(r.changed);
  EXPECT_FALSE(r.cleared);
}

TEST_F(ColumnStates, TextEqualityIsExactAndDisplayOnlyAndClearActOnOtherRows) {
  set(kStatus, "d");  // another letter case is another text
  EXPECT_EQ(evaluate().row, -1);
  set(kStatus, "L");
  set(kNote, "old");
  set(kHt, "12");
  auto r = evaluate();
  EXPECT_EQ(r.row, 2);
  EXPECT_EQ(fieldType(kHt), editor::kTypeDisplayOnly);
  EXPECT_EQ(text(kHt), "12");  // display only keeps the value
  EXPECT_EQ(text(kNote), "");  // clear keeps the state but blanks the value
  EXPECT_EQ(fieldType(kNote), editor::kTypeGeneral);
  EXPECT_TRUE(required(kNote));
}

TEST_F(ColumnStates, ClearingANumericColumnSetsItToZero) {
  s.def->conditions[1].setAction(kHt, 4);  // skip and clear HT for D
  set(kStatus, "D");
  set(kHt, "123");
  EXPECT_TRUE(evaluate().cleared);
  EXPECT_EQ(text(kHt), "0");
  EXPECT_EQ(s.header().columnValue(kHt), 0);
  // A blank numeric field is already empty: the record is not rewritten.
  set(kHt, "");
  EXPECT_FALSE(evaluate().cleared);
  EXPECT_EQ(text(kHt), "");
}

TEST_F(ColumnStates, AConditionOnALevelThatIsNotOpenReadsAnEmptyLine) {
  set(kStatus, "D");
  set(kDefect, "60");
  // DEFECT read from level 3 instead, which is not open: 0, so row 1, not row 0.
  s.def->info.setConditionSource(1, 3);
  EXPECT_EQ(evaluate().row, 1);
  // So does a column the source level does not have, or a source outside 1-5.
  s.def->info.setConditionSource(1, 0);
  s.def->info.setConditionColumn(1, 300);
  EXPECT_EQ(evaluate().row, 1);
  s.def->info.setConditionColumn(1, kDefect);
  s.def->info.setConditionSource(1, -4);
  EXPECT_EQ(evaluate().row, 1);
}

TEST_F(ColumnStates, RowsFromAPackageCannotReachOutsideTheLevel) {
  apps::BcfEntry& row = s.def->conditions[1];
  // A text filling its 31 bytes without a NUL, an unknown kind on another
  // row, actions beyond the last column and unknown action codes.
  std::fill_n(row.bytes().begin() + apps::layout::bcf_entry::kTexts, 31, std::uint8_t{'D'});
  s.def->conditions[0].setKind(0, 7);
  row.setAction(kNote + 1, 4);
  row.setAction(255, 4);
  row.setAction(kNote, 99);
  set(kStatus, "D");
  EXPECT_EQ(evaluate().row, -1);  // 31 D's are not "D"; row 0 never holds with kind 7
  row.setText(0, "D");
  auto r = evaluate();
  EXPECT_EQ(r.row, 1);
  EXPECT_EQ(fieldType(kNote), editor::kTypeGeneral);
  EXPECT_TRUE(required(kNote));
}

TEST_F(ColumnStates, ALevelWithoutConditionColumnsHasNoRowThatHolds) {
  s.def->info.setConditionCount(0);
  EXPECT_EQ(evaluate().row, -1);
}

// Keyed through the engine: D in STATUS clears CROWN on file, and the
// cursor passes over the now skipped CROWN when it moves back.
class KeyedColumnStates : public editor_test::EngineTest {};

TEST_F(KeyedColumnStates, StatusSkipsAndClearsTheCrownColumn) {
  buildApp(kLevel);
  openDataset();
  std::vector<Key> keys = typed("C");  // CROWN (a full field moves on)
  for (Key key : typed("D")) keys.push_back(key);
  keys.push_back({k::kLeft});         // from HT back: STATUS
  keys.push_back({k::kLeft});         // CROWN is skipped: the cursor stays on STATUS
  for (Key key : typed("L")) keys.push_back(key);  // L: CROWN may be keyed again
  keys.push_back({k::kLeft});                       // from HT: STATUS
  keys.push_back({k::kLeft});                       // and now on to CROWN
  for (Key key : typed("S")) keys.push_back(key);
  keys.push_back({k::kEscape});
  host.expect("Exit Without Missing", ui::kIdYes);
  run(keys);
  EXPECT_FALSE(ranDry());
  auto records = level1Records();
  ASSERT_GE(records.size(), 1u);
  // CROWN keyed C, cleared by D, keyed S once the condition went away.
  EXPECT_EQ(records[0][0], "S");
  EXPECT_EQ(records[0][1], "L");
}

// The demo's trees: the package holds the species jump and the condition
// that skips and clears CROWN and makes HT required for a dead tree.
class DemoConditions : public editor_test::EngineTest {};

TEST_F(DemoConditions, TheCruiseTreesCarryTheirJumpAndCondition) {
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = base::joinPath(v.appPath, "Cruise", platform::kSep);
  options.packagePath = base::joinPath(v.appPath, "Cruise.tfa", platform::kSep);
  ASSERT_EQ(tfabuild::buildFromFile(std::string(TALLYFIN_EXAMPLES_DIR) + "/cruise/cruise.json", options, diag), 0)
      << diag.text();
  ASSERT_EQ(apps::openApplication(ctx, "Cruise", false), apps::kOpenOk);
  app.appCtl().setTableName("TREES");
  std::string name;
  ASSERT_EQ(app.loadLevel(options.appFolder, 2, name).ok, 1) << name;
  const apps::LevelDefinition& trees = *app.level(2);
  const int spc = trees.columnNamed("SPC"), crown = trees.columnNamed("CROWN");
  const int ht = trees.columnNamed("HT"), status = trees.columnNamed("STATUS");
  ASSERT_TRUE(spc && crown && ht && status);

  const apps::JumpEntry* jump = trees.jumpEntry(trees.check(spc)->jumpIndex());
  ASSERT_NE(jump, nullptr);
  EXPECT_EQ(jump->matchKind(), 1);
  EXPECT_EQ(jump->sourceLevel(), 2);
  EXPECT_EQ(jump->sourceColumn(), spc);
  EXPECT_EQ(jump->file(), "SPJUMP.dbf");

  EXPECT_EQ(trees.info.conditionCount(), 1);
  EXPECT_EQ(trees.info.conditionColumn(0), status);
  EXPECT_EQ(trees.info.conditionSource(0), 0);
  ASSERT_EQ(trees.conditions.size(), 1u);
  const apps::BcfEntry& row = trees.conditions[0];
  EXPECT_EQ(row.kind(0), 0);
  EXPECT_EQ(row.text(0), "D");
  EXPECT_EQ(row.action(crown), 4);
  EXPECT_EQ(row.action(ht), 2);
  for (int k = 1; k <= trees.lastColumn(); ++k) {
    if (k != crown && k != ht) {
      EXPECT_EQ(row.action(k), 0) << k;
    }
  }
}

}  // namespace

// Descending into child tables and coming back: the names built from the
// parent records' keys, the level codes, the links and the position files.
#include <gtest/gtest.h>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "data_fixture.hpp"
#include "datasets/child_choice.hpp"
#include "datasets/child_levels.hpp"
#include "datasets/level_tables.hpp"
#include "datasets/position_file.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"
#include "tfabuild/build.hpp"

namespace {

// Appends a record whose leading numeric fields hold values.
void appendRecord(tablestore::Table* t, std::vector<int> values) {
  ASSERT_EQ(t->appendStart(), 0);
  for (std::size_t i = 0; i < values.size(); ++i)
    ASSERT_EQ(t->fieldByNumber(static_cast<int>(i) + 1)->assignInteger(values[i]), 0);
  ASSERT_EQ(t->append(), 0);
}

class ChildLevelsTest : public datasets_test::DataTest {
 protected:
  void openDemo() {
    buildDemo();
    open("Cruise");
    nameNewDataset("North Block");
    ASSERT_EQ(openData(), 1);
  }
  tablestore::Table* table(int level) { return session.level(level)->table; }
};

TEST_F(ChildLevelsTest, ChildTablesAreNamedByTheirParentsKeys) {
  openDemo();
  appendRecord(edit.level1, {1});
  ASSERT_EQ(datasets::openChildTable(ctx, session, 1, "TREES", 1), 1);
  EXPECT_EQ(app.appCtl().nextLevelCode(), "AA___");  // the table about to be opened
  EXPECT_EQ(session.level(2)->fileName, "01 2AA___[North Block]ABC___~   1~TREES.dbf");
  EXPECT_TRUE(platform::fileExists(dataFile("01 2AA___[North Block]ABC___~   1~TREES.dbf")));
  EXPECT_EQ(app.appCtl().curLevel(), 2);
  EXPECT_EQ(app.appCtl().levelCode(2), "AA___");
  EXPECT_EQ(app.appCtl().tableName(), "TREES");

  appendRecord(table(2), {1, 4});
  ASSERT_EQ(datasets::openChildTable(ctx, session, 2, "LOGS", 1), 1);
  EXPECT_EQ(session.level(3)->fileName, "01 3AAA__[North Block]ABC___~   1-  4~LOGS.dbf");
  EXPECT_EQ(app.appCtl().levelCode(3), "AAA__");
  EXPECT_EQ(app.appCtl().nextLevelCode(), "AAA__");

  // The demo has three levels: no name is built for a fourth, though the
  // level-3 record is there to key it.
  appendRecord(table(3), {1, 4, 1});
  std::string below;
  EXPECT_FALSE(datasets::buildDataFileName(session, 4, "AAAA_", "STEMS", below));
  EXPECT_EQ(below, "");

  // Back up: the demo keeps positions, so the level's position is on disk.
  ASSERT_EQ(datasets::closeChildLevel(ctx, session, 3), 0);
  EXPECT_TRUE(platform::fileExists(dataFile("01 3AAA__[North Block]ABC___~   1-  4~LOGS.db$")));
  EXPECT_EQ(app.appCtl().curLevel(), 2);
  EXPECT_EQ(app.appCtl().tableName(), "TREES");
  EXPECT_EQ(table(3), nullptr);
}

TEST_F(ChildLevelsTest, NoCurrentParentRecordNoChild) {
  openDemo();
  std::string name;
  EXPECT_FALSE(datasets::buildDataFileName(session, 2, "AA___", "TREES", name));
  EXPECT_EQ(datasets::openChildTable(ctx, session, 1, "TREES", 1), 0);
  EXPECT_EQ(table(2), nullptr);
  // Nor a level the names have no place for.
  EXPECT_FALSE(datasets::buildDataFileName(session, 6, "AAAAA", "TREES", name));
  EXPECT_FALSE(datasets::buildDataFileName(session, 0, "A____", "TREES", name));
}

TEST_F(ChildLevelsTest, ThePositionComesBackWhenTheLevelOpensAgain) {
  openDemo();
  appendRecord(edit.level1, {1});
  ASSERT_EQ(datasets::openChildTable(ctx, session, 1, "TREES", 1), 1);
  for (int tree = 1; tree <= 3; ++tree) appendRecord(table(2), {1, tree});
  apps::LevelHeader& header = app.level(2)->header;
  header.setCurLine(2);
  header.setCurColumn(4);
  ASSERT_EQ(datasets::closeChildLevel(ctx, session, 2), 0);
  ASSERT_EQ(datasets::openChildTable(ctx, session, 1, "TREES", 1), 1);
  EXPECT_EQ(app.level(2)->header.curLine(), 2);
  EXPECT_EQ(app.level(2)->header.curColumn(), 4);
  EXPECT_EQ(app.level(2)->header.lineCount(), 3);
}

TEST_F(ChildLevelsTest, TheDemoOffersItsTwoPlotChildren) {
  openDemo();
  host.onForm(datasets::kChildListResource, [](ui::FormState& f) {
    EXPECT_EQ(f.items(datasets::kChildListControl), (std::vector<std::string>{"TREES", "REGEN"}));
    f.select(datasets::kChildListControl, 1);
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(datasets::chooseChild(host, app.level(1)->bct, session.chosenTable[2]), 2);
  EXPECT_EQ(session.chosenTable[2], "REGEN");
}

TEST_F(ChildLevelsTest, LinksAreWrittenAndClearedInTheParent) {
  const std::string json = R"({ "application": { "name": "Links", "keepChildFields": true, "keepStatusFields": true },
    "version": { "major": 1, "minor": 0, "build": 1, "structure": 1,
                 "date": "01/02/2021", "structureDate": "01/01/2021", "structureTime": "10:00:00" },
    "levels": [
      { "code": "A____", "table": "PLOTS", "columns": [ { "field": "PLOT", "type": "N", "width": 4 },
          { "field": "CHILD1", "type": "C", "width": 80 }, { "field": "STATUS1", "type": "C", "width": 1 } ] },
      { "code": "AA___", "table": "TREES", "columns": [ { "field": "PLOT", "type": "N", "width": 4 },
          { "field": "PARENT", "type": "C", "width": 80 } ] } ] })";
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = base::joinPath(v.appPath, "Links", platform::kSep);
  options.packagePath = base::joinPath(v.appPath, "Links.tfa", platform::kSep);
  ASSERT_EQ(tfabuild::buildFromText(json, dir.path(), options, diag), 0) << diag.text();
  open("Links");
  nameNewDataset("North Block");
  ASSERT_EQ(openData(), 1);
  appendRecord(edit.level1, {7});

  ASSERT_EQ(datasets::openChildTable(ctx, session, 1, "TREES", 1), 1);
  auto field = [&](const char* name) {
    EXPECT_EQ(edit.level1->goRecord(1), 0);
    return base::trimRight(edit.level1->fieldByName(name)->text());
  };
  EXPECT_EQ(field("CHILD1"), "01 2AA___[North Block]ABC___~   7~TREES.dbf");
  EXPECT_EQ(field("STATUS1"), "0");

  app.level(2)->header.setLinesDeleted(true);
  ASSERT_EQ(datasets::closeChildLevel(ctx, session, 2), 0);
  EXPECT_EQ(field("CHILD1"), "");
  EXPECT_EQ(field("STATUS1"), "");
}

}  // namespace

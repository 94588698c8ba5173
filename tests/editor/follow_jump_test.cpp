// Jump files: the value of the column just left picks a record whose last
// five fields name the column to go to for Up, Down, Left, Right and Enter;
// a target the cursor may not stop on gives no move; missing files and
// relations that find nothing are reported.
#include <gtest/gtest.h>

#include "editor/column_values.hpp"
#include "editor/engine.hpp"
#include "editor/follow_jump.hpp"
#include "base/paths.hpp"
#include "jump_fixture.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table.hpp"

namespace {

using editor_test::Key;
using editor_test::LevelStateTest;
using editor_test::typed;
namespace k = ui::key;

// CODE jumps by JUMPS.dbf; ROUTE relates a route letter to the jump file of
// that route. Columns 8 and 9 may not be stopped on (skipped, hidden).
const char* kLevel = R"([ { "code": "A____", "table": "STOPS",
    "screens": [ { "type": "line", "promptRow": 24 } ],
    "columns": [
      { "field": "CODE", "width": 2, "title": "Code", "upperCase": true, "jump": "byCode" },
      { "field": "A", "type": "N", "width": 2, "title": "A" },
      { "field": "B", "type": "N", "width": 2, "title": "B" },
      { "field": "C", "type": "N", "width": 2, "title": "C" },
      { "field": "D", "type": "N", "width": 2, "title": "D" },
      { "field": "E", "type": "N", "width": 2, "title": "E" },
      { "field": "F", "type": "N", "width": 2, "title": "F" },
      { "field": "SKIP", "width": 2, "title": "Skip", "fieldType": "skipped" },
      { "field": "HIDE", "width": 2, "title": "Hide", "hidden": true },
      { "field": "ROUTE", "width": 1, "title": "Route", "upperCase": true, "jump": "byRoute" },
      { "field": "LAST", "width": 2, "title": "Last" }
    ],
    "jumps": [ { "name": "byCode", "match": "text", "source": "CODE", "file": "JUMPS.dbf" },
               { "name": "byRoute", "match": "number", "source": "A", "file": "ROUTES.dbf",
                 "relation": { "match": "text", "column": "ROUTE" } } ] } ])";

#define SIX_FIELDS \
  R"([ { "name": "A", "type": "N", "width": 2 }, { "name": "UP", "type": "N", "width": 3 }, )" \
  R"({ "name": "DOWN", "type": "N", "width": 3 }, { "name": "LEFT", "type": "N", "width": 3 }, )" \
  R"({ "name": "RIGHT", "type": "N", "width": 3 }, { "name": "ENTER", "type": "N", "width": 3 } ])"
const char* kTables = R"([
    { "name": "JUMPS.dbf",
      "fields": [ { "name": "CODE", "type": "C", "width": 2 }, { "name": "UP", "type": "N", "width": 3 },
                  { "name": "DOWN", "type": "N", "width": 3 }, { "name": "LEFT", "type": "N", "width": 3 },
                  { "name": "RIGHT", "type": "N", "width": 3 }, { "name": "ENTER", "type": "N", "width": 3 } ],
      "rows": [ ["AA", 3, 4, 5, 6, 7], ["BB", 8, 9, 0, 0, 11], ["~", 2, 2, 2, 2, 2] ] },
    { "name": "ROUTES.dbf",
      "fields": [ { "name": "ROUTE", "type": "C", "width": 1 }, { "name": "FILE", "type": "C", "width": 13 } ],
      "rows": [ ["N", "NORTH.dbf"], ["S", "GONE.dbf"] ] },
    { "name": "NORTH.dbf", "fields": )" SIX_FIELDS R"(, "rows": [ [1, 0, 0, 0, 0, 11], [2, 0, 0, 0, 0, 3] ] },
    { "name": "GONE.dbf", "fields": )" SIX_FIELDS R"(, "rows": [ [1, 2, 2, 2, 2, 2] ] }
  ])";

class FollowJump : public LevelStateTest {
 protected:
  void SetUp() override {
    LevelStateTest::SetUp();
    buildApp(kLevel, kTables);
    openDataset();
    openLevel1();
    engine = std::make_unique<editor::Engine>(host, ctx, session, hooks, screen, keys);
    engine->levels[1] = s;
    engine->current = 1;
  }
  editor::LevelState& level() { return engine->levels[1]; }
  // Leaves column from with key: the column the cursor is on afterwards, or 0 when it did not move.
  int leave(int from, ui::KeyCode key) {
    level().header().setCurColumn(from);
    level().header().setExitKey(key);
    if (!editor::followJump(*engine, key)) {
      EXPECT_EQ(level().column(), from);
      EXPECT_EQ(level().header().exitKey(), key);
      return 0;
    }
    EXPECT_EQ(level().header().exitKey(), 1);
    return level().column();
  }
  std::string appFile(const std::string& name) const {
    return base::joinPath(base::joinPath(v.appPath, "Fields", platform::kSep), name, platform::kSep);
  }
  void value(int col, const std::string& t) { ASSERT_TRUE(editor::writeColumnText(level(), col, t)); }

  editor::EngineHooks hooks;
  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  std::unique_ptr<editor::Engine> engine;
};

TEST_F(FollowJump, EachKeyTakesItsFieldCountedFromTheLast) {
  value(1, "AA");
  EXPECT_EQ(leave(1, k::kEnter), 7);
  EXPECT_EQ(leave(1, k::kRight), 6);
  EXPECT_EQ(leave(1, k::kLeft), 5);
  EXPECT_EQ(leave(1, k::kDown), 4);
  EXPECT_EQ(leave(1, k::kWheelBack), 4);  // the wheel turned back counts as Down
  EXPECT_EQ(leave(1, k::kUp), 3);
  // Other keys never jump.
  EXPECT_EQ(leave(1, k::kWheelForward), 0);
  EXPECT_EQ(leave(1, k::kTab), 0);
  EXPECT_EQ(leave(1, k::kF2), 0);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(FollowJump, ATargetTheCursorMayNotStopOnGivesNoMove) {
  value(1, "BB");
  EXPECT_EQ(leave(1, k::kUp), 0);     // 8: skipped
  EXPECT_EQ(leave(1, k::kDown), 0);   // 9: hidden
  EXPECT_EQ(leave(1, k::kLeft), 0);   // 0: none
  EXPECT_EQ(leave(1, k::kRight), 0);
  EXPECT_EQ(leave(1, k::kEnter), 11);
  // Beyond the last enterable column.
  level().header().setLastEnterableColumn(10);
  EXPECT_EQ(leave(1, k::kEnter), 0);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(FollowJump, AnUnlistedTextTakesTheTildeRecord) {
  value(1, "ZZ");
  EXPECT_EQ(leave(1, k::kEnter), 2);
  EXPECT_EQ(leave(1, k::kUp), 2);
}

TEST_F(FollowJump, AColumnWithoutAJumpOrAJumpIndexOutsideTheLevelDoesNothing) {
  value(1, "AA");
  EXPECT_EQ(leave(2, k::kEnter), 0);
  level().def->checks[1].setJumpIndex(9);
  EXPECT_EQ(leave(1, k::kEnter), 0);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(FollowJump, AMissingJumpFileIsReportedWithItsName) {
  host.expect("Can't Find Jump File");
  value(1, "AA");
  const_cast<apps::JumpEntry*>(level().def->jumpEntry(1))->setFile("NOSUCH.dbf");
  EXPECT_EQ(leave(1, k::kEnter), 0);
  EXPECT_TRUE(host.sawText("NOSUCH.dbf"));
  // A name that would leave the application folder is never opened.
  host.clearShown();
  const_cast<apps::JumpEntry*>(level().def->jumpEntry(1))->setFile("..\\JUMPS.dbf");
  EXPECT_EQ(leave(1, k::kEnter), 0);
  EXPECT_TRUE(host.sawText("Can't Find Jump File"));
}

TEST_F(FollowJump, AFileThatIsNoTableCannotBeOpened) {
  host.expect("Can't Open Jump File");
  host.expect("File is not a Data File");  // the table store reports the file too
  // A file of the application folder that holds no table.
  const std::string path = appFile("BROKEN.dbf");
  {
    platform::File f = platform::openFile(path, platform::Access::ReadWrite, platform::Disposition::CreateAlways);
    ASSERT_TRUE(f.isOpen());
    ASSERT_EQ(f.writeExact("not a table", 11), 0);
    ASSERT_EQ(f.close(), 0);
  }
  const_cast<apps::JumpEntry*>(level().def->jumpEntry(1))->setFile("BROKEN.dbf");
  value(1, "AA");
  EXPECT_EQ(leave(1, k::kEnter), 0);
  EXPECT_TRUE(host.sawText("BROKEN.dbf"));
}

TEST_F(FollowJump, ARelationPicksTheJumpFile) {
  value(10, "N");
  value(2, "1");
  EXPECT_EQ(leave(10, k::kEnter), 11);
  value(2, "2");
  EXPECT_EQ(leave(10, k::kEnter), 3);
  EXPECT_EQ(leave(10, k::kRight), 0);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(FollowJump, ARelationThatFindsNothingSaysWhere) {
  host.expect("No Jump Match");
  value(10, "W");
  EXPECT_EQ(leave(10, k::kEnter), 0);
  EXPECT_TRUE(host.sawText("Relate Sc:1 Cl:10"));
  // A relation naming a file that is not there.
  host.expect("Can't Find Jump File");
  platform::deleteFile(platform::toWide(appFile("GONE.dbf")));
  value(10, "S");
  EXPECT_EQ(leave(10, k::kEnter), 0);
  EXPECT_TRUE(host.sawText("GONE.dbf"));
}

TEST(JumpTargetField, CountsFromTheLastFieldAndNeverTakesTheKey) {
  EXPECT_EQ(editor::jumpTargetField(k::kEnter, 6), 6);
  EXPECT_EQ(editor::jumpTargetField(0, 6), 6);
  EXPECT_EQ(editor::jumpTargetField(k::kUp, 6), 2);
  EXPECT_EQ(editor::jumpTargetField(k::kUp, 5), 0);
  EXPECT_EQ(editor::jumpTargetField(k::kDown, 4), 0);
  EXPECT_EQ(editor::jumpTargetField(k::kEnter, 1), 0);
  EXPECT_EQ(editor::jumpTargetField(k::kEnter, 0), 0);
  EXPECT_EQ(editor::jumpTargetField(k::kEscape, 6), 0);
}

// Keyed: AA in CODE fills it and Enter jumps to F, where 42 is stored.
class KeyedJump : public editor_test::EngineTest {};

TEST_F(KeyedJump, EnterAfterTheCodeGoesToTheJumpTarget) {
  buildApp(kLevel, kTables);
  openDataset();
  std::vector<Key> keys = typed("AA");
  for (Key key : typed("42")) keys.push_back(key);
  keys.push_back({k::kEscape});
  host.expect("Exit Without Missing", ui::kIdYes);
  run(keys);
  EXPECT_FALSE(ranDry());
  auto records = level1Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][0], "AA");
  EXPECT_EQ(records[0][1], "");  // A was passed over
  EXPECT_EQ(records[0][6], "42");
}

}  // namespace

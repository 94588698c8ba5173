// Loading a level table's control files: sizes, the optional files, the
// order of reads, and the status and phase of every failure.
#include "app_fixture.hpp"
#include "apps/level_load.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"

namespace apps_test {
namespace {

using apps::LevelLoad;

// A level that has every optional file: one serial input, two random
// definitions, one jump and two condition rows.
const std::string kFullLevel = treesApp(
    R"([ { "field": "PLOT", "type": "N", "width": 4 },
         { "field": "SPC", "type": "C", "width": 2, "jump": "bySpecies" },
         { "field": "DBH", "type": "N", "width": 5, "decimals": 1, "fieldType": "sensor", "sensor": "caliper" },
         { "field": "AZ", "type": "N", "width": 3, "fill": "random", "random": "azimuth" },
         { "field": "STATUS", "type": "C", "width": 1 } ])",
    R"(, "serial": [ { "name": "caliper", "port": 3, "baud": 4800, "parity": "E", "source": "tokens",
                        "delimiters": ",", "valueToken": 2 } ],
       "random": [ { "name": "azimuth", "low": 1, "high": 360 }, { "name": "spare", "deferred": true } ],
       "jumps": [ { "name": "bySpecies", "match": "text", "source": "SPC", "file": "JUMPS.dbf" } ],
       "conditions": { "columns": [ "STATUS" ],
                       "rows": [ { "when": [ { "equals": "D" } ], "actions": { "DBH": "skip" } },
                                 { "when": [ { "equals": "X" } ], "actions": { "SPC": "display-clear" } } ] })",
    R"(, "tables": [ { "name": "JUMPS.dbf",
                       "fields": [ { "name": "SPC", "width": 2 }, { "name": "U", "type": "N", "width": 2 },
                                   { "name": "D", "type": "N", "width": 2 }, { "name": "L", "type": "N", "width": 2 },
                                   { "name": "R", "type": "N", "width": 2 }, { "name": "E", "type": "N", "width": 2 } ],
                       "rows": [ [ "SN", 0, 0, 0, 5, 5 ] ] } ])");

const std::string kOneColumn = treesApp(R"([ { "field": "PLOT", "type": "N", "width": 4 } ])");

class LevelLoadTest : public AppTest {
 protected:
  LevelLoad load() {
    EXPECT_EQ(app.loadAppCtl(folder()), 0);
    return app.loadLevel(folder(), 1, name);
  }
  // A load that must fail with status and phase, naming the file.
  void expectFailure(int status, int phase, const std::string& file) {
    LevelLoad r = load();
    EXPECT_EQ(r.ok, 0);
    EXPECT_EQ(r.status, status);
    EXPECT_EQ(r.phase, phase);
    EXPECT_EQ(name, path(file));
    EXPECT_EQ(app.level(1), nullptr);  // nothing of a failed load is kept
  }
  std::string name;
};

TEST_F(LevelLoadTest, LastColumnZeroHasOneColumnAndA15926ByteCtl) {
  build(kOneColumn);
  // A table with only column 0: LastColumn 0 and the fixed part of the .ctl.
  apps::LevelBct bct;
  writeFile("TREES.bct", std::string(bct.bytes().begin(), bct.bytes().end()));
  std::string ctl = readFile("TREES.ctl");
  ASSERT_EQ(ctl.size(), 2962u * 1 + 15926u);
  writeFile("TREES.ctl", ctl.substr(0, 11572 + 1392 + 110) + ctl.substr(11572 + 1392 + 220, 420) +
                             ctl.substr(11572 + 1392 + 220 + 840, 2432));
  ASSERT_EQ(readFile("TREES.ctl").size(), 15926u);
  LevelLoad r = load();
  ASSERT_EQ(r.ok, 1) << r.status << "/" << r.phase;
  const apps::LevelDefinition* level = app.level(1);
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->lastColumn(), 0);
  EXPECT_EQ(level->fields.size(), 1u);
  ASSERT_EQ(level->fieldList.size(), 1u);  // only the terminating entry
  EXPECT_TRUE(level->fieldList[0].name.empty());
}

TEST_F(LevelLoadTest, ACtlOneByteLongerIsCorruptPhase22) {
  build(kOneColumn);
  writeFile("TREES.ctl", readFile("TREES.ctl") + std::string(1, '\0'));
  expectFailure(apps::kLevelCorrupt, 22, "TREES.ctl");
  writeFile("TREES.ctl", readFile("TREES.ctl").substr(0, 15926 + 2962 - 2));
  expectFailure(apps::kLevelCorrupt, 22, "TREES.ctl");
}

TEST_F(LevelLoadTest, SerCountZeroLooksForNoSerFile) {
  build(kOneColumn);
  writeFile("TREES.ser", std::string(100, 'x'));  // not even the size of one entry
  SelectiveFileSystem fs;
  platform::ScopedFileSystem use(fs);
  LevelLoad r = load();
  EXPECT_EQ(r.ok, 1);
  EXPECT_TRUE(app.level(1)->serial.empty());
  for (const auto& p : fs.opened()) EXPECT_EQ(p.find(".ser"), std::string::npos) << p;
}

TEST_F(LevelLoadTest, ABcfHoldsNEntriesNotNPlusOne) {
  build(kFullLevel);
  ASSERT_EQ(readFile("TREES.bcf").size(), 1616u);  // BcfCount 2
  ASSERT_EQ(load().ok, 1);
  const apps::LevelDefinition& level = *app.level(1);
  ASSERT_EQ(level.conditions.size(), 2u);
  EXPECT_EQ(level.conditions[0].text(0), "D");
  EXPECT_EQ(level.conditions[0].action(3), 3);
  EXPECT_EQ(level.conditions[1].action(2), 6);
  // The other optional files hold n + 1 entries.
  EXPECT_EQ(readFile("TREES.ser").size(), 2u * 816);
  EXPECT_EQ(readFile("TREES.rnd").size(), 3u * 36);
  EXPECT_EQ(readFile("TREES.jpt").size(), 2u * 160);
  ASSERT_EQ(level.serial.size(), 2u);
  EXPECT_EQ(level.serial[1].port(), 3);
  EXPECT_EQ(level.serial[1].baud(), 4800);
  EXPECT_EQ(level.serial[1].parity(), 1);
  ASSERT_EQ(level.random.size(), 3u);
  EXPECT_EQ(level.random[1].high(), 360);
  EXPECT_TRUE(level.random[2].deferred());
  ASSERT_NE(level.jumpEntry(1), nullptr);
  EXPECT_EQ(level.jumpEntry(1)->file(), "JUMPS.dbf");
  EXPECT_EQ(level.jumpEntry(2), nullptr);
  EXPECT_EQ(level.check(3)->serialIndex(), 1);
  EXPECT_EQ(level.check(4)->randomIndex(), 1);

  // n + 1 entries of .bcf are refused as corrupt.
  writeFile("TREES.bcf", readFile("TREES.bcf") + std::string(808, '\0'));
  expectFailure(apps::kLevelCorrupt, 8, "TREES.bcf");
}

TEST_F(LevelLoadTest, FilesAreReadInTheFixedOrder) {
  build(kFullLevel);
  SelectiveFileSystem fs;
  platform::ScopedFileSystem use(fs);
  ASSERT_EQ(load().ok, 1);
  std::vector<std::string> levelFiles;
  for (const auto& p : fs.opened()) {
    if (p.find("TREES.") != std::string::npos) levelFiles.push_back(p.substr(p.find("TREES.")));
  }
  EXPECT_EQ(levelFiles, (std::vector<std::string>{"TREES.bct", "TREES.ctl", "TREES.ser", "TREES.rnd", "TREES.jpt",
                                                  "TREES.bcf"}));
}

TEST_F(LevelLoadTest, BctFailures) {
  build(kOneColumn);
  std::string bct = readFile("TREES.bct");
  {
    SelectiveFileSystem fs;
    fs.add({"TREES.bct", platform::kErrSharingViolation});
    platform::ScopedFileSystem use(fs);
    expectFailure(apps::kLevelOpen, 0, "TREES.bct");
  }
  {
    SelectiveFileSystem fs;
    fs.add({"TREES.bct", 0, 1, platform::kErrIoDevice});
    platform::ScopedFileSystem use(fs);
    expectFailure(apps::kLevelRead, 13, "TREES.bct");
  }
  {
    SelectiveFileSystem fs;
    fs.add({"TREES.bct", 0, 1, 0, true});
    platform::ScopedFileSystem use(fs);
    expectFailure(apps::kLevelRead, 0, "TREES.bct");
  }
  writeFile("TREES.bct", bct.substr(1));
  expectFailure(apps::kLevelCorrupt, 12, "TREES.bct");
  // Counts the arrays cannot hold make the .bct corrupt as well.
  std::string wide = bct;
  wide[0] = static_cast<char>(252);  // LastColumn 252
  writeFile("TREES.bct", wide);
  expectFailure(apps::kLevelCorrupt, 12, "TREES.bct");
  std::string negative = bct;
  negative[4] = '\xff';  // RndCount -1
  negative[5] = '\xff';
  writeFile("TREES.bct", negative);
  expectFailure(apps::kLevelCorrupt, 12, "TREES.bct");
  std::string children = bct;
  children[444] = 27;  // ChildCount 27
  writeFile("TREES.bct", children);
  expectFailure(apps::kLevelCorrupt, 12, "TREES.bct");
  platform::deleteFile(path("TREES.bct"));
  expectFailure(apps::kLevelMissing, 10, "TREES.bct");
}

TEST_F(LevelLoadTest, CtlFailuresByPart) {
  build(kOneColumn);
  struct Case {
    int readNumber, status, phase;
  };
  // Reads: 1 header, 2 LevelInfo, 3 the ColumnField array, 4-5 ColumnDef
  // entries 0-1, 6-7 ColumnCheck entries 0-1.
  for (Case c : {Case{1, 4, 1}, Case{2, 4, 2}, Case{3, 4, 3}, Case{5, 4, 4}, Case{7, 4, 5}}) {
    for (bool shortRead : {false, true}) {
      SelectiveFileSystem fs;
      fs.add({"TREES.ctl", 0, c.readNumber, shortRead ? 0 : platform::kErrIoDevice, shortRead});
      platform::ScopedFileSystem use(fs);
      SCOPED_TRACE(c.readNumber);
      expectFailure(c.status, c.phase, "TREES.ctl");
    }
  }
  {
    SelectiveFileSystem fs;
    fs.add({"TREES.ctl", platform::kErrAccessDenied});
    platform::ScopedFileSystem use(fs);
    expectFailure(apps::kLevelOpen, 21, "TREES.ctl");
  }
  platform::deleteFile(path("TREES.ctl"));
  expectFailure(apps::kLevelMissing, 20, "TREES.ctl");
}

TEST_F(LevelLoadTest, OptionalFileFailures) {
  build(kFullLevel);
  struct Case {
    const char* file;
    int missingPhase, phase;
  };
  for (Case c : {Case{"TREES.ser", 10, 6}, Case{"TREES.rnd", 7, 7}, Case{"TREES.jpt", 7, 7}, Case{"TREES.bcf", 8, 8}}) {
    SCOPED_TRACE(c.file);
    std::string good = readFile(c.file);
    {
      SelectiveFileSystem fs;
      fs.add({c.file, platform::kErrAccessDenied});
      platform::ScopedFileSystem use(fs);
      expectFailure(apps::kLevelOpen, c.phase, c.file);
    }
    {
      SelectiveFileSystem fs;
      fs.add({c.file, 0, 1, platform::kErrIoDevice});
      platform::ScopedFileSystem use(fs);
      expectFailure(apps::kLevelRead, 3, c.file);
    }
    writeFile(c.file, good.substr(0, good.size() - 1));
    expectFailure(apps::kLevelCorrupt, c.phase, c.file);
    platform::deleteFile(path(c.file));
    expectFailure(apps::kLevelMissing, c.missingPhase, c.file);
    writeFile(c.file, good);
  }
  EXPECT_EQ(load().ok, 1);
}

TEST_F(LevelLoadTest, AFailedLoadReleasesTheLevelsPreviousDefinition) {
  build(kOneColumn);
  ASSERT_EQ(load().ok, 1);
  ASSERT_NE(app.level(1), nullptr);
  platform::deleteFile(path("TREES.ctl"));
  EXPECT_EQ(app.loadLevel(folder(), 1, name).ok, 0);
  EXPECT_EQ(app.level(1), nullptr);
}

TEST_F(LevelLoadTest, LevelsOutsideOneToFiveAndUnusableTableNames) {
  build(kOneColumn);
  ASSERT_EQ(app.loadAppCtl(folder()), 0);
  for (int level : {0, 6, -1}) {
    LevelLoad r = app.loadLevel(folder(), level, name);
    EXPECT_EQ(r.ok, 0);
    EXPECT_EQ(r.status, 0);
  }
  // The same table may sit at several levels' record sets independently.
  EXPECT_EQ(app.loadLevel(folder(), 5, name).ok, 1);
  EXPECT_NE(app.level(5), nullptr);
  app.releaseLevel(5);
  EXPECT_EQ(app.level(5), nullptr);
  for (const char* bad : {"../Trees/TREES", "TR*", "", "C:TREES"}) {
    app.appCtl().setTableName(bad);
    LevelLoad r = app.loadLevel(folder(), 2, name);
    EXPECT_EQ(r.status, apps::kLevelMissing) << bad;
    EXPECT_EQ(r.phase, 10) << bad;
  }
}

TEST_F(LevelLoadTest, TheFieldListFollowsTheColumnFields) {
  build(treesApp(R"([ { "field": "plot", "type": "N", "width": 4 },
                      { "field": "SPC", "type": "C", "width": 16, "title": "Species" },
                      { "field": "DBH", "type": "N", "width": 5, "decimals": 1 } ])"));
  ASSERT_EQ(load().ok, 1);
  const apps::LevelDefinition& level = *app.level(1);
  ASSERT_EQ(level.fieldList.size(), 4u);
  EXPECT_EQ(level.fieldList[0].name, "PLOT");
  EXPECT_EQ(level.fieldList[0].type, 'N');
  EXPECT_EQ(level.fieldList[0].length, 4);
  EXPECT_EQ(level.fieldList[1].name, "SPC");
  EXPECT_EQ(level.fieldList[1].type, 'C');
  EXPECT_EQ(level.fieldList[1].length, 16);
  EXPECT_EQ(level.fieldList[2].decimals, 1);
  EXPECT_TRUE(level.fieldList[3].name.empty());
  EXPECT_EQ(level.field(2)->title(), "Species");
  EXPECT_EQ(level.columnNamed("dbh"), 3);
  EXPECT_EQ(level.columnNamed("NONE"), 0);
  EXPECT_EQ(level.field(0), nullptr);
  EXPECT_EQ(level.check(4), nullptr);
}

}  // namespace
}  // namespace apps_test

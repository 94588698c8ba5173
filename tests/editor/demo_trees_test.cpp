// The demo cruise's tree columns keyed through the engine with the demo's
// own check files: the species code list that replaces a code by its name,
// the height table keyed by species with its override, the species jump and
// the dead-tree condition. The trees are the level being edited here, so the
// checks are driven without the plot level above them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/engine_fixture.hpp"
#include "ui/host.hpp"
#include "ui/keys.hpp"

namespace {

using editor_test::Key;
using editor_test::typed;
namespace k = ui::key;

std::string csv(const char* name) { return std::string(TALLYFIN_EXAMPLES_DIR) + "/cruise/" + name; }

std::string tables() {
  return R"([
    { "name": "SPECIES.dbf", "fields": [ { "name": "CODE", "type": "C", "width": 3 }, { "name": "NAME", "type": "C", "width": 16 } ],
      "csv": ")" + csv("tree_codes.csv") + R"(" },
    { "name": "HTRANGE.dbf", "fields": [ { "name": "SPECIES", "type": "C", "width": 16 },
        { "name": "MINHT", "type": "N", "width": 3 }, { "name": "MAXHT", "type": "N", "width": 3 } ],
      "csv": ")" + csv("htrange.csv") + R"(" },
    { "name": "SPJUMP.dbf", "fields": [ { "name": "SPECIES", "type": "C", "width": 16 },
        { "name": "UP", "type": "N", "width": 3 }, { "name": "DOWN", "type": "N", "width": 3 },
        { "name": "LEFT", "type": "N", "width": 3 }, { "name": "RIGHT", "type": "N", "width": 3 },
        { "name": "ENTER", "type": "N", "width": 3 } ],
      "csv": ")" + csv("spjump.csv") + R"(" },
    { "name": "CROWNS.dbf", "fields": [ { "name": "CODE", "type": "C", "width": 1 }, { "name": "MEANING", "type": "C", "width": 14 } ],
      "rows": [ ["D", "Dominant"], ["C", "Codominant"], ["I", "Intermediate"], ["S", "Suppressed"] ] }
  ])";
}

// The demo's tree columns in the demo's order (the jump file names column 7, DEFECT).
constexpr const char* kTrees = R"([{
  "code": "A____", "table": "TREES", "name": "Trees", "settings": { "checkOnLeave": false },
  "screens": [ { "type": "line", "promptRow": 24 } ],
  "columns": [
    { "field": "PLOT", "type": "N", "width": 4, "title": "Plot", "fieldType": "skipped" },
    { "field": "TREE", "type": "N", "width": 3, "title": "Tree", "fieldType": "display",
      "fill": "line-number", "start": 0, "step": 1 },
    { "field": "SPC", "type": "C", "width": 16, "title": "Species", "upperCase": true, "required": true,
      "check": { "type": "code", "file": "SPECIES.dbf", "replace": true }, "jump": "bySpecies" },
    { "field": "DBH", "type": "N", "width": 5, "decimals": 1, "title": "DBH", "required": true,
      "check": { "type": "range", "min": 1, "max": 60 } },
    { "field": "HT", "type": "N", "width": 3, "title": "Height",
      "check": { "type": "keyTable", "file": "HTRANGE.dbf", "key": "SPC", "override": true } },
    { "field": "CROWN", "type": "C", "width": 1, "title": "Crown", "upperCase": true,
      "check": { "type": "code", "file": "CROWNS.dbf", "sequential": true } },
    { "field": "DEFECT", "type": "N", "width": 2, "title": "Defect %",
      "check": { "type": "range", "min": 0, "max": 99 } },
    { "field": "STATUS", "type": "C", "width": 1, "title": "L/D", "upperCase": true }
  ],
  "jumps": [ { "name": "bySpecies", "match": "text", "source": "SPC", "file": "SPJUMP.dbf" } ],
  "conditions": {
    "columns": [ "STATUS" ],
    "rows": [ { "when": [ { "equals": "D" } ], "actions": { "CROWN": "skip-clear", "HT": "required" } } ]
  }
}])";

// Fields of a record: PLOT, TREE, SPC, DBH, HT, CROWN, DEFECT, STATUS.
enum { kSpc = 2, kDbh = 3, kHt = 4, kCrown = 5, kDefect = 6, kStatus = 7 };

class DemoTrees : public editor_test::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    buildApp(kTrees, tables());
    openDataset();
  }
  static void add(std::vector<Key>& keys, const std::string& text, bool enter = true) {
    for (Key key : typed(text)) keys.push_back(key);
    if (enter) keys.push_back({k::kEnter});
  }
  std::vector<std::string> onlyRecord() {
    auto records = level1Records();
    EXPECT_EQ(records.size(), 1u);
    return records.empty() ? std::vector<std::string>(8) : records[0];
  }
  void leave(std::vector<Key>& keys) {
    keys.push_back({k::kEscape});
    host.expect("Exit Without Missing", ui::kIdYes);
  }
};

TEST_F(DemoTrees, AnUnknownSpeciesIsRefusedAndAKnownOneIsReplacedByItsName) {
  std::vector<Key> keys{{k::kEnter}};  // the cursor starts on the tree number
  add(keys, "XX");       // refused: the cursor stays on the species
  add(keys, "DF");       // replaced by the name
  add(keys, "20");       // DBH
  add(keys, "120", false);  // a full height moves on; within Douglas-fir's 10-250
  add(keys, "X", false); // no such crown class: refused (a full field ends the editor)
  add(keys, "C", false); // a crown class
  leave(keys);
  run(keys);
  EXPECT_FALSE(ranDry());
  const auto r = onlyRecord();
  EXPECT_EQ(r[kSpc], "Douglas-fir");
  EXPECT_EQ(r[kDbh], "20.0");
  EXPECT_EQ(r[kHt], "120");
  EXPECT_EQ(r[kCrown], "C");
  EXPECT_GT(host.beeps(), 1);  // XX and X
}

TEST_F(DemoTrees, AHeightOutsideTheSpeciesRangeAsksToOverride) {
  std::vector<Key> keys{{k::kEnter}};
  add(keys, "LP");
  add(keys, "20");
  add(keys, "130", false);  // Lodgepole pine reaches 120: asked, No keeps the cursor on the height
  add(keys, "150", false);  // asked again, Yes takes it
  host.expectOnce("Data Out of Range", ui::kIdNo);
  host.expectOnce("Data Out of Range", ui::kIdYes);
  leave(keys);
  run(keys);
  EXPECT_FALSE(ranDry());
  EXPECT_EQ(onlyRecord()[kHt], "150");
}

TEST_F(DemoTrees, ASnagJumpsToTheDefectAndADeadTreeClearsItsCrown) {
  std::vector<Key> keys{{k::kEnter}};
  add(keys, "SN");      // Snag: its jump row sends Enter to column 7, DEFECT
  add(keys, "5", true); // lands in DEFECT, not DBH
  add(keys, "D", false);   // STATUS D: CROWN skipped and cleared
  leave(keys);
  run(keys);
  EXPECT_FALSE(ranDry());
  const auto r = onlyRecord();
  EXPECT_EQ(r[kSpc], "Snag");
  EXPECT_EQ(r[kDefect], "5");
  EXPECT_EQ(r[kDbh], "");
  EXPECT_EQ(r[kStatus], "D");
}

TEST_F(DemoTrees, DeadClearsACrownAlreadyKeyed) {
  std::vector<Key> keys{{k::kEnter}};
  add(keys, "DF");
  add(keys, "20");
  add(keys, "100", false);
  add(keys, "D", false);  // crown Dominant
  add(keys, "10");        // defect
  add(keys, "D", false);  // status dead: the crown goes
  leave(keys);
  run(keys);
  EXPECT_FALSE(ranDry());
  const auto r = onlyRecord();
  EXPECT_EQ(r[kCrown], "");
  EXPECT_EQ(r[kStatus], "D");
}

TEST_F(DemoTrees, AStatusCopiedFromTheLineAboveClearsTheCrownToo) {
  std::vector<Key> keys{{k::kEnter}};
  add(keys, "DF");
  add(keys, "20");
  add(keys, "100", false);
  add(keys, "D", false);  // crown
  add(keys, "10");        // defect
  add(keys, "D", false);  // dead
  keys.push_back({k::kPageDown});
  keys.push_back({k::kEnter});
  add(keys, "GF");
  add(keys, "20");
  add(keys, "100", false);
  add(keys, "C", false);  // crown
  add(keys, "10");        // defect: now on the status
  keys.push_back({k::kCtrlEnter});  // the status of the tree above: dead
  leave(keys);
  run(keys);
  EXPECT_FALSE(ranDry());
  const auto records = level1Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1][kStatus], "D");
  EXPECT_EQ(records[1][kCrown], "");
}

TEST_F(DemoTrees, TheSpeciesPickListStoresTheChosenCodeAsEntered) {
  std::vector<Key> keys{{k::kEnter}};
  keys.push_back({k::kF2});    // the pick list of SPECIES.dbf
  keys.push_back({k::kDown});  // DF, then GF
  keys.push_back({k::kEnter}); // taken as entered: replaced by the name, the cursor moves on
  add(keys, "20");             // so this is the DBH
  leave(keys);
  run(keys);
  EXPECT_FALSE(ranDry());
  bool listed = false;
  for (std::size_t i = 0; i < keys.size() && !listed; ++i)
    for (const auto& row : screenBeforeKey(i)) listed = listed || row.find("< Choices:8 >") != std::string::npos;
  EXPECT_TRUE(listed);
  const auto r = onlyRecord();
  EXPECT_EQ(r[kSpc], "Grand fir");
  EXPECT_EQ(r[kDbh], "20.0");
}

TEST_F(DemoTrees, AltEOnAColumnWithoutACodeListBeeps) {
  std::vector<Key> keys{{k::kEnter}};
  add(keys, "DF");
  keys.push_back({ui::key::altLetter('e')});  // on the DBH: nothing to choose from
  add(keys, "20");
  leave(keys);
  run(keys);
  EXPECT_FALSE(ranDry());
  EXPECT_GT(host.beeps(), 0);
  EXPECT_EQ(onlyRecord()[kDbh], "20.0");
}

}  // namespace

// The standard checks of a typed value, keyed through the whole engine: what
// the level table keeps afterwards tells whether the value was accepted.
#include <gtest/gtest.h>

#include "base/paths.hpp"
#include "config/settings.hpp"
#include "engine_fixture.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "platform/files.hpp"

namespace {

using editor_test::EngineTest;
using editor_test::Key;
using editor_test::typed;
namespace k = ui::key;

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
const std::vector<Key> kEnter{{k::kEnter}};
const std::vector<Key> kLeave{{k::kEscape}};

// A level of a key column K, the checked column V and a note column.
std::string level(const std::string& vColumn, const std::string& kColumn = R"({ "field": "K", "width": 4, "title": "K" })") {
  return R"([ { "code": "A____", "table": "FORM",
      "screens": [ { "type": "line", "promptRow": 24 } ],
      "columns": [ )" + kColumn + ", " + vColumn + R"(,
        { "field": "NOTE", "width": 4, "title": "Note" } ] } ])";
}

class Checks : public EngineTest {
 protected:
  // Keys key into K and value into V, then leaves; the stored V ("-" when no line was kept).
  std::string keyIn(const std::string& key, const std::string& value) {
    openDataset();
    std::vector<Key> keys = typed(key) + kEnter + typed(value) + kEnter;
    keys.push_back({'q'});  // a message box on the display takes this key
    keys = keys + kLeave + kLeave;
    (void)run(keys);
    auto records = level1Records();
    return records.empty() ? "-" : records[0][1];
  }
  bool shownBeforeAnyKey(const std::string& text) const {
    for (std::size_t i = 0;; ++i) {
      auto rows = screenBeforeKey(i);
      if (rows.empty()) return false;
      for (const auto& row : rows)
        if (row.find(text) != std::string::npos) return true;
    }
  }
};

const char* kRange = R"({ "field": "V", "type": "N", "width": 4, "title": "V",
    "check": { "type": "range", "min": 1, "max": 10 } })";
const char* kRangeRequired = R"({ "field": "V", "type": "N", "width": 4, "title": "V", "required": true,
    "check": { "type": "range", "min": 1, "max": 10 } })";

TEST_F(Checks, ARangeAcceptsValuesWithinIt) {
  buildApp(level(kRange));
  EXPECT_EQ(keyIn("a", "7"), "7");
}
TEST_F(Checks, ARangeRefusesAValueAboveIt) {
  buildApp(level(kRange));
  EXPECT_NE(keyIn("a", "11"), "11");
  EXPECT_GT(host.beeps(), 0);
}
TEST_F(Checks, ZeroPassesARangeWhenEmptyIsNotChecked) {
  buildApp(level(kRange));
  EXPECT_EQ(keyIn("a", "0"), "0");
}
TEST_F(Checks, ZeroIsRefusedWhenEmptyIsChecked) {
  buildApp(level(kRangeRequired));
  EXPECT_NE(keyIn("a", "0"), "0");
}

const char* kCodesTable = R"([ { "name": "CODES.DBF",
    "fields": [ { "name": "CODE", "width": 2 }, { "name": "NAME", "width": 10 } ],
    "rows": [ [ "AB", "Alder" ], [ "CD", "Cedar" ], [ "~", "Other" ] ] },
  { "name": "RANGES.DBF",
    "fields": [ { "name": "KEY", "width": 2 }, { "name": "LO", "type": "N", "width": 4 },
                { "name": "HI", "type": "N", "width": 4 } ],
    "rows": [ [ "AB", 1, 5 ], [ "CD", 6, 9 ], [ "~", 50, 60 ] ] },
  { "name": "ROWS.DBF",
    "fields": [ { "name": "FROM", "type": "N", "width": 4 }, { "name": "TO", "type": "N", "width": 4 },
                { "name": "MIN", "type": "N", "width": 4 }, { "name": "MAX", "type": "N", "width": 4 } ],
    "rows": [ [ 1, 10, 20, 30 ] ] } ])";

const char* kCode = R"({ "field": "V", "width": 10, "title": "V", "check": { "type": "code", "file": "CODES.DBF" } })";
const char* kCodeReplace = R"({ "field": "V", "width": 10, "title": "V",
    "check": { "type": "code", "file": "CODES.DBF", "replace": true } })";

TEST_F(Checks, ACodeListAcceptsItsCodesAndHasNoTildeFallback) {
  buildApp(level(kCode), kCodesTable);
  EXPECT_EQ(keyIn("a", "CD"), "CD");
}
TEST_F(Checks, ACodeListRefusesACodeItLacks) {
  buildApp(level(kCode), kCodesTable);
  EXPECT_NE(keyIn("a", "XY"), "XY");
}
TEST_F(Checks, ACodeListThatReplacesStoresTheSecondField) {
  buildApp(level(kCodeReplace), kCodesTable);
  EXPECT_EQ(keyIn("a", "AB"), "Alder");
}

const char* kKeyTable = R"({ "field": "V", "type": "N", "width": 4, "title": "V",
    "check": { "type": "keyTable", "file": "RANGES.DBF", "key": "K", "min": 0, "max": 100 } })";

TEST_F(Checks, AKeyTableTakesTheBoundsOfTheKeysRow) {
  buildApp(level(kKeyTable), kCodesTable);
  EXPECT_EQ(keyIn("CD", "7"), "7");
}
TEST_F(Checks, AKeyTableTakesTheTildeRowForAnUnknownKey) {
  buildApp(level(kKeyTable), kCodesTable);
  EXPECT_EQ(keyIn("XY", "55"), "55");
}
TEST_F(Checks, AKeyTableRefusesOutsideTheTildeRow) {
  buildApp(level(kKeyTable), kCodesTable);
  EXPECT_NE(keyIn("XY", "7"), "7");
}

const char* kNumberKey = R"({ "field": "K", "type": "N", "width": 4, "title": "K" })";
const char* kRangeTable = R"({ "field": "V", "type": "N", "width": 4, "title": "V",
    "check": { "type": "rangeTable", "file": "ROWS.DBF", "key": "K", "min": 0, "max": 100 } })";

TEST_F(Checks, ARangeTableAcceptsWithinTheRowsBounds) {
  buildApp(level(kRangeTable, kNumberKey), kCodesTable);
  EXPECT_EQ(keyIn("5", "25"), "25");
}
TEST_F(Checks, ARangeTableRefusesOutsideTheRowsBounds) {
  buildApp(level(kRangeTable, kNumberKey), kCodesTable);
  EXPECT_NE(keyIn("5", "31"), "31");
}
TEST_F(Checks, ARangeTableWithoutARowForTheKeySaysSo) {
  buildApp(level(kRangeTable, kNumberKey), kCodesTable);
  EXPECT_NE(keyIn("11", "25"), "25");
  EXPECT_TRUE(shownBeforeAnyKey("Match Not Found"));
  EXPECT_TRUE(shownBeforeAnyKey("Column: 1"));
}

const char* kWarned = R"({ "field": "V", "type": "N", "width": 4, "title": "V",
    "check": { "type": "range", "min": 0, "max": 100, "warning": [2, 8] } })";

TEST_F(Checks, AValueOutsideTheWarningRangeIsAskedAboutAndNoKeepsTheCursor) {
  buildApp(level(kWarned));
  openDataset();
  (void)run(typed("a") + kEnter + typed("9") + kEnter + typed("n") + kLeave + kLeave);
  EXPECT_TRUE(shownBeforeAnyKey("V Near"));
  EXPECT_TRUE(shownBeforeAnyKey("Limit,Use Data? Y/N"));
  auto records = level1Records();
  EXPECT_TRUE(records.empty() || records[0][1] != "9");
}
TEST_F(Checks, YesToTheWarningKeepsTheValue) {
  buildApp(level(kWarned));
  openDataset();
  (void)run(typed("a") + kEnter + typed("9") + kEnter + typed("y") + kLeave + kLeave);
  auto records = level1Records();
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records[0][1], "9");
}

const char* kMissing = R"({ "field": "V", "width": 4, "title": "V", "check": { "type": "code", "file": "CODES.DBF" } })";

// The application as built, less its check file.
void removeCheckFile(apps::AppContext& ctx) {
  const std::string folder = ctx.values.settings.path(config::SettingsRecord::Path::AppFolder);
  ASSERT_EQ(platform::deleteFile(platform::toWide(base::joinPath(folder, "CODES.DBF", platform::kSep))), 0);
}

TEST_F(Checks, AMissingCheckFileAsksOnTheDisplayAtProductionLevelOne) {
  buildApp(level(kMissing), kCodesTable);
  removeCheckFile(ctx);
  openDataset();
  (void)run(typed("a") + kEnter + typed("ZZ") + kEnter + typed("y") + kLeave + kLeave);
  EXPECT_TRUE(shownBeforeAnyKey("Can't Find Checkfile"));
  EXPECT_TRUE(shownBeforeAnyKey("Anyway? (Y/N)"));
  auto records = level1Records();
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records[0][1], "ZZ");
}
TEST_F(Checks, NoToTheMissingCheckFileRefuses) {
  buildApp(level(kMissing), kCodesTable);
  removeCheckFile(ctx);
  openDataset();
  (void)run(typed("a") + kEnter + typed("ZZ") + kEnter + typed("n") + kLeave + kLeave);
  auto records = level1Records();
  EXPECT_TRUE(records.empty() || records[0][1] != "ZZ");
}

}  // namespace

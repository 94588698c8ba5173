// Data limits (F2) of the current column, keyed through the whole engine:
// what the edit window showed, and the message boxes the host was asked for.
#include <gtest/gtest.h>

#include "apps/level_definition.hpp"
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

// A level of a key column K, the column V whose limits are asked for, and a note.
std::string level(const std::string& vColumn,
                  const std::string& kColumn = R"({ "field": "K", "type": "N", "width": 4, "title": "K" })") {
  return R"([ { "code": "A____", "table": "FORM",
      "screens": [ { "type": "line", "promptRow": 24 } ],
      "columns": [ )" + kColumn + ", " + vColumn + R"(,
        { "field": "NOTE", "width": 4, "title": "Note" } ] } ])";
}

const char* kRowsTable = R"([ { "name": "ROWS.DBF",
    "fields": [ { "name": "FROM", "type": "N", "width": 4 }, { "name": "TO", "type": "N", "width": 4 },
                { "name": "MIN", "type": "N", "width": 4 }, { "name": "MAX", "type": "N", "width": 4 } ],
    "rows": [ [ 1, 10, 20, 30 ], [ 11, 20, 40, 45 ] ] } ])";

class Limits : public EngineTest {
 protected:
  // Keys key into K, presses F2 in V, lets a key end what is shown, and
  // leaves; with checkFile, V's check file is renamed to it first.
  void askLimits(const std::string& key, const char* checkFile = nullptr) {
    openDataset();
    // The level is loaded as the dataset opens: the name is set in what the session edits.
    if (checkFile) app.level(1)->checks[2].setCheckFile(checkFile);
    (void)run(typed(key) + std::vector<Key>{{k::kEnter}, {k::kF2}, {'q'}, {k::kEscape}, {k::kEscape}});
  }
  bool shown(const std::string& text) const {
    for (std::size_t i = 0;; ++i) {
      auto rows = screenBeforeKey(i);
      if (rows.empty()) return false;
      for (const auto& row : rows)
        if (row.find(text) != std::string::npos) return true;
    }
  }
};

const char* kRange = R"({ "field": "V", "type": "N", "width": 6, "decimals": 2, "title": "V",
    "check": { "type": "range", "min": 1.5, "max": 10 } })";
const char* kWarned = R"({ "field": "V", "type": "N", "width": 6, "decimals": 2, "title": "V",
    "check": { "type": "range", "min": 1.5, "max": 10, "warning": [2, 8.25] } })";

TEST_F(Limits, AnAbsoluteRangeShowsItsBoundsAtTheColumnsDecimals) {
  buildApp(level(kRange));
  askLimits("1");
  EXPECT_TRUE(shown("< Allowed Min/Max Range >"));
  EXPECT_TRUE(shown("__Absolute Range__"));
  EXPECT_TRUE(shown("Min =   1.50"));
  EXPECT_TRUE(shown("Max =  10.00"));
  EXPECT_FALSE(shown("__Warning Range__"));
}

TEST_F(Limits, TheWarningRangeIsShownBesideTheAbsoluteOne) {
  buildApp(level(kWarned));
  askLimits("1");
  EXPECT_TRUE(shown("Max =  10.00"));
  EXPECT_TRUE(shown("__Warning Range__"));
  EXPECT_TRUE(shown("Min =   2.00"));
  EXPECT_TRUE(shown("Max =   8.25"));
}

TEST_F(Limits, ThePopUpIsTakenDownAndTheScreenBeneathPutBack) {
  buildApp(level(kRange));
  openDataset();
  (void)run(typed("1") + std::vector<Key>{{k::kEnter}, {k::kF2}, {'q'}, {k::kF2}});
  // The first F2's box was up before 'q'; the screen before the second F2 is clear of it.
  ASSERT_FALSE(screenBeforeKey(3).empty());
  bool upBeforeQ = false;
  for (const auto& row : screenBeforeKey(3)) upBeforeQ = upBeforeQ || row.find("Allowed Min/Max") != std::string::npos;
  EXPECT_TRUE(upBeforeQ);
  auto before = screenBeforeKey(4);
  ASSERT_FALSE(before.empty());
  for (const auto& row : before) EXPECT_EQ(row.find("Allowed Min/Max"), std::string::npos) << row;
}

TEST_F(Limits, ARangeNeverOpensAFileEvenWithABogusCheckFileName) {
  buildApp(level(kRange));
  askLimits("1", "NOSUCH.DBF");
  EXPECT_TRUE(shown("__Absolute Range__"));
  EXPECT_FALSE(shown("Can't Find Checkfile"));
  EXPECT_FALSE(shown("Can't Open Checkfile"));
}

TEST_F(Limits, AMinimumLengthIsToldInAMessageBox) {
  buildApp(level(R"({ "field": "V", "width": 8, "title": "V", "check": { "type": "length", "minLength": 3 } })"));
  host.expect("Min StrLen=3", ui::kIdOk, "Allowed Min/Max Range");
  askLimits("1");
  EXPECT_TRUE(host.sawText("Min StrLen=3"));
}

TEST_F(Limits, RelativeBoundsComeFromTheBoundColumnsValueAndStayWithinTheRange) {
  buildApp(level(R"({ "field": "V", "type": "N", "width": 5, "decimals": 1, "title": "V",
      "check": { "type": "relativeLow", "low": "K", "min": 2, "max": 50 } })"));
  askLimits("7");
  EXPECT_TRUE(shown("__Relative Range__"));
  EXPECT_TRUE(shown("Min =   7.0"));
  EXPECT_TRUE(shown("Max =  50.0"));
}

TEST_F(Limits, ARelativeLowBelowTheMinimumIsRaisedToIt) {
  buildApp(level(R"({ "field": "V", "type": "N", "width": 5, "decimals": 1, "title": "V",
      "check": { "type": "relative", "low": "K", "high": "K", "min": 2, "max": 50 } })"));
  askLimits("1");
  EXPECT_TRUE(shown("Min =   2.0"));
  EXPECT_TRUE(shown("Max =   1.0"));
}

const char* kRangeTable = R"({ "field": "V", "type": "N", "width": 4, "title": "V",
    "check": { "type": "rangeTable", "file": "ROWS.DBF", "key": "K", "min": 0, "max": 100 } })";

TEST_F(Limits, ARangeTableShowsTheRowOfTheCurrentKey) {
  buildApp(level(kRangeTable), kRowsTable);
  askLimits("15");
  EXPECT_TRUE(shown("< Allowed Min/Max Range >"));
  EXPECT_TRUE(shown("Min =   40"));
  EXPECT_TRUE(shown("Max =   45"));
}

TEST_F(Limits, ARangeTableWithoutARowForTheKeySaysSo) {
  buildApp(level(kRangeTable), kRowsTable);
  askLimits("25");
  EXPECT_TRUE(shown("Match Not Found"));
  EXPECT_FALSE(shown("< Allowed Min/Max Range >"));
}

TEST_F(Limits, AMissingRangeTableIsNamed) {
  buildApp(level(kRangeTable), kRowsTable);
  const std::string folder = ctx.values.settings.path(config::SettingsRecord::Path::AppFolder);
  ASSERT_EQ(platform::deleteFile(platform::toWide(base::joinPath(folder, "ROWS.DBF", platform::kSep))), 0);
  askLimits("5");
  EXPECT_TRUE(shown("Can't Find Checkfile"));
  EXPECT_TRUE(shown("ROWS.DBF"));
  EXPECT_FALSE(shown("< Allowed Min/Max Range >"));
}

TEST_F(Limits, AnUnsafeRangeTableNameIsNeverOpened) {
  buildApp(level(kRangeTable), kRowsTable);
  askLimits("5", "..\\ROWS.DBF");
  EXPECT_TRUE(shown("Can't Find Checkfile"));
  EXPECT_FALSE(shown("< Allowed Min/Max Range >"));
}

}  // namespace

// Mistakes in a description are refused with a message under the JSON path
// of the value at fault.
#include <gtest/gtest.h>

#include "support/temp_dir.hpp"
#include "tfabuild/read_description.hpp"

namespace tfabuild_test {
namespace {

using tfabuild::Diagnostics;

// Reads a description; the test names the errors it expects.
struct Reading {
  explicit Reading(const std::string& json, const std::string& baseDir = ".") {
    ok = tfabuild::readDescription(json, baseDir, app, diag);
  }
  bool ok = false;
  tfabuild::AppModel app;
  Diagnostics diag;
};

std::string oneLevel(const std::string& columns, const std::string& extras = "", const std::string& top = "") {
  return R"({ "application": { "name": "Trees" }, "levels": [ { "code": "A____", "table": "TREES", "columns": )" +
         columns + extras + " } ]" + top + " }";
}

TEST(DescriptionErrors, AGoodDescriptionReadsWithoutMistakes) {
  Reading r(oneLevel(R"([ { "field": "PLOT", "type": "N", "width": 4, "check": { "type": "range", "min": 1, "max": 9 } } ])"));
  EXPECT_TRUE(r.ok) << r.diag.text();
  ASSERT_EQ(r.app.levels.size(), 1u);
  EXPECT_EQ(r.app.levels[0].columns[0].check.maximum, 9);
}

TEST(DescriptionErrors, WrongTypesNameTheirPath) {
  Reading r(oneLevel(R"([ { "field": "PLOT", "type": "N", "width": "four" }, { "field": 7 } ])"));
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.diag.has("levels[0].columns[0].width", "expected a whole number, got \"four\"")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].columns[1].field", "expected text")) << r.diag.text();
}

TEST(DescriptionErrors, UnknownKeysAreRefused) {
  Reading r(oneLevel(R"([ { "field": "PLOT", "chek": { "type": "range" } } ])"));
  EXPECT_TRUE(r.diag.has("levels[0].columns[0].chek", "unknown key \"chek\"")) << r.diag.text();
}

TEST(DescriptionErrors, AnUnknownColumnInACheck) {
  Reading r(R"({ "application": { "name": "Trees" },
    "tables": [ { "name": "HT.dbf", "fields": [ { "name": "SPC", "width": 2 }, { "name": "LO", "type": "N", "width": 3 },
                                                { "name": "HI", "type": "N", "width": 3 } ], "rows": [] } ],
    "levels": [ { "code": "A____", "table": "PLOTS", "columns": [ { "field": "PLOT" } ] },
                { "code": "AA___", "table": "TREES", "columns": [
                  { "field": "PLOT" }, { "field": "TREE" }, { "field": "SPECIES" },
                  { "field": "HT", "type": "N", "width": 3,
                    "check": { "type": "keyTable", "file": "HT.dbf", "key": "SPC" } } ] } ] })");
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.diag.has("levels[1].columns[3].check.key", "unknown column \"SPC\"")) << r.diag.text();
}

TEST(DescriptionErrors, AnUnknownCheckFile) {
  Reading r(oneLevel(R"([ { "field": "SPC", "check": { "type": "code", "file": "SPECIES.dbf" } } ])"));
  EXPECT_TRUE(r.diag.has("levels[0].columns[0].check.file", "no table or file \"SPECIES.dbf\"")) << r.diag.text();
}

TEST(DescriptionErrors, DuplicateLevelCodesAndTables) {
  Reading r(R"({ "application": { "name": "Trees" }, "levels": [
    { "code": "A____", "table": "PLOTS", "columns": [ { "field": "PLOT" } ] },
    { "code": "AA___", "table": "TREES", "columns": [ { "field": "PLOT" }, { "field": "TREE" } ] },
    { "code": "AA___", "table": "trees", "columns": [ { "field": "PLOT" }, { "field": "TREE" } ] } ] })");
  EXPECT_TRUE(r.diag.has("levels[2].code", "duplicate level code \"AA___\" (also levels[1])")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[2].table", "duplicate table \"trees\"")) << r.diag.text();
}

TEST(DescriptionErrors, TheHierarchyMustHang) {
  Reading r(R"({ "application": { "name": "Trees" }, "levels": [
    { "code": "A____", "table": "PLOTS", "columns": [ { "field": "PLOT" } ] },
    { "code": "ABA__", "table": "LOGS", "columns": [ { "field": "A" }, { "field": "B" }, { "field": "C" } ] },
    { "code": "AC_B_", "table": "BAD", "columns": [ { "field": "A" } ] },
    { "code": "AD___", "table": "SHORT", "columns": [ { "field": "PLOT" } ] } ] })");
  EXPECT_TRUE(r.diag.has("levels[1].code", "no level with the parent code \"AB___\"")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[2].code", "is not a level code")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[3].columns", "key path in its first 2 columns")) << r.diag.text();
  Reading none(R"({ "application": { "name": "Trees" }, "levels": [
    { "code": "AA___", "table": "TREES", "columns": [ { "field": "A" }, { "field": "B" } ] } ] })");
  EXPECT_TRUE(none.diag.has("levels", "no level-1 table")) << none.diag.text();
}

TEST(DescriptionErrors, ReferencesReachOnlyThisLevelAndTheLevelsAboveIt) {
  Reading r(R"({ "application": { "name": "Trees" }, "levels": [
    { "code": "A____", "table": "PLOTS", "columns": [ { "field": "PLOT" } ] },
    { "code": "AA___", "table": "TREES", "columns": [ { "field": "PLOT" }, { "field": "DBH", "type": "N", "width": 4 } ] },
    { "code": "AB___", "table": "REGEN", "columns": [ { "field": "PLOT" },
        { "field": "HT", "type": "N", "width": 3, "check": { "type": "relativeHigh", "high": "TREES.DBH" } },
        { "field": "CNT", "type": "N", "width": 3, "fill": "parent", "parent": "REGEN.PLOT" } ] } ] })");
  EXPECT_TRUE(r.diag.has("levels[2].columns[1].check.high", "table \"TREES\" is not this level or a level above it"))
      << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[2].columns[2].parent", "a level above this one")) << r.diag.text();
}

TEST(DescriptionErrors, CheckSettingsMustFitTheCheckType) {
  Reading r(oneLevel(R"([
    { "field": "A", "type": "N", "width": 3, "check": { "type": "range", "min": 1 } },
    { "field": "B", "type": "N", "width": 3, "check": { "type": "code", "min": 1, "max": 2, "file": "X.dbf" } },
    { "field": "C", "type": "N", "width": 3, "check": { "type": "range", "min": 9, "max": 1 } },
    { "field": "D", "width": 3, "check": { "type": "lenght" } },
    { "field": "E", "width": 3, "picture": "##-#" } ])"));
  EXPECT_TRUE(r.diag.has("levels[0].columns[0].check.max", "missing")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].columns[1].check.type", "only range checks take")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].columns[2].check.max", "lies below the minimum")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].columns[3].check.type", "expected one of \"none\"")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].columns[4].picture", "as wide as the field (3)")) << r.diag.text();
}

TEST(DescriptionErrors, CheckTablesMustSuitTheirUse) {
  Reading r(oneLevel(R"([
      { "field": "SPC", "width": 2, "check": { "type": "code", "file": "SP.dbf", "replace": true } },
      { "field": "NAME", "width": 12, "lookup": { "key": "text", "file": "FILL.dbf" } } ])",
                     "", R"(, "tables": [
      { "name": "SP.dbf", "fields": [ { "name": "CODE", "width": 2 } ], "rows": [ [ "PP" ], [ "DF" ] ] },
      { "name": "FILL.dbf", "fields": [ { "name": "K", "width": 2 }, { "name": "N", "width": 6 }, { "name": "V", "width": 6 } ],
        "rows": [ [ "DF", "SPC", "x" ], [ "PP", "HEIGHT", "y" ] ] } ])"));
  EXPECT_TRUE(r.diag.has("levels[0].columns[0].check.file", "a code check that replaces needs 2")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].columns[1].lookup.file", "unknown column \"HEIGHT\"")) << r.diag.text();
  Reading unsorted(oneLevel(R"([ { "field": "SPC", "width": 2, "check": { "type": "code", "file": "SP.dbf" } } ])", "",
                            R"(, "tables": [ { "name": "SP.dbf", "fields": [ { "name": "CODE", "width": 2 } ],
                                               "rows": [ [ "PP" ], [ "DF" ] ] } ])"));
  EXPECT_TRUE(unsorted.diag.has("levels[0].columns[0].check.file", "ascending order of field CODE")) << unsorted.diag.text();
}

TEST(DescriptionErrors, TableRowsAreCheckedAgainstTheirFields) {
  Reading r(oneLevel(R"([ { "field": "A" } ])", "", R"(, "tables": [
      { "name": "T.dbf", "fields": [ { "name": "CODE", "width": 2 }, { "name": "N", "type": "N", "width": 3 } ],
        "rows": [ [ "ABC", 1 ], [ "AB", "x" ], [ "AB", 1000 ], [ "AB" ] ] } ])"));
  EXPECT_TRUE(r.diag.has("tables[0].rows[0][0]", "longer than 2")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("tables[0].rows[1][1]", "is not a number")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("tables[0].rows[2][1]", "does not fit 3.0")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("tables[0].rows[3]", "has 1 values for 2 fields")) << r.diag.text();
}

TEST(DescriptionErrors, CsvTablesNeedTheirHeaderAndWholeRows) {
  testing_support::TempDir dir;
  testing_support::writeBytes(dir.file("sp.csv"), "CODE,NAME\nDF,Douglas-fir\n\"PP\",\"Ponderosa, pine\"\nWL\n");
  testing_support::writeBytes(dir.file("bad.csv"), "KEY,NAME\nDF,x\n");
  std::string fields = R"([ { "name": "CODE", "width": 2 }, { "name": "NAME", "width": 16 } ])";
  Reading r(oneLevel(R"([ { "field": "A" } ])", "",
                     R"(, "tables": [ { "name": "SP.dbf", "fields": )" + fields + R"(, "csv": "sp.csv" },
                                      { "name": "BAD.dbf", "fields": )" + fields + R"(, "csv": "bad.csv" },
                                      { "name": "NONE.dbf", "fields": )" + fields + R"(, "csv": "none.csv" } ])"),
            dir.path());
  EXPECT_TRUE(r.diag.has("tables[0].csv (sp.csv line 4)", "has 1 values for 2 fields")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("tables[1].csv", "the header must name the fields CODE,NAME")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("tables[2].csv", "cannot read")) << r.diag.text();
  ASSERT_EQ(r.app.tables.size(), 3u);
  ASSERT_EQ(r.app.tables[0].rows.size(), 2u);
  EXPECT_EQ(r.app.tables[0].rows[1][1], "Ponderosa, pine");
}

TEST(DescriptionErrors, NamesThatWouldClash) {
  Reading r(R"({ "application": { "name": "Tree/Cruise" },
    "tables": [ { "name": "TREES.ctl", "fields": [ { "name": "A" } ] } ],
    "levels": [ { "code": "A____", "table": "TREES", "columns": [ { "field": "PLOT" }, { "field": "plot" } ] },
                { "code": "AA___", "table": "app", "columns": [ { "field": "A" }, { "field": "B" } ] } ] })");
  EXPECT_TRUE(r.diag.has("application.name", "is not an application name")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].columns[1].field", "column \"plot\" twice")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[1].table", "would clash with a control file")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("tables[0].name", "the file name \"TREES.ctl\" is also made by levels[0].table")) << r.diag.text();
}

TEST(DescriptionErrors, NamedEntriesMustExist) {
  Reading r(oneLevel(R"([ { "field": "A", "fill": "random", "random": "az" },
                          { "field": "B", "fieldType": "sensor" },
                          { "field": "C", "jump": "nowhere" } ])",
                     R"(, "events": { "lineEntry": "CALC.RP" }, "programs": [ "X.RP" ])"));
  EXPECT_TRUE(r.diag.has("levels[0].columns[0].random", "no random definition \"az\"")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].columns[1].sensor", "missing")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].columns[2].jump", "no jump definition \"nowhere\"")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].events.lineEntry", "no file \"CALC.RP\" in files")) << r.diag.text();
  EXPECT_TRUE(r.diag.has("levels[0].programs[0]", "no file \"X.RP\"")) << r.diag.text();
}

TEST(DescriptionErrors, NotJsonAtAll) {
  Reading r("{ \"application\": ");
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.diag.has("(description)", "not valid JSON")) << r.diag.text();
}

}  // namespace
}  // namespace tfabuild_test

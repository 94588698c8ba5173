// The bytes the builder writes, at the offsets every file made for the
// runtime carries, and the layout it works out for what a description
// leaves open.
#include <gtest/gtest.h>

#include "apps/layout.hpp"
#include "base/le.hpp"
#include "support/temp_dir.hpp"
#include "tfabuild/build.hpp"
#include "tfabuild/csv.hpp"
#include "tfabuild/images.hpp"
#include "tfabuild/read_description.hpp"

namespace tfabuild_test {
namespace {

tfabuild::AppModel read(const std::string& json) {
  tfabuild::AppModel app;
  tfabuild::Diagnostics diag;
  EXPECT_TRUE(tfabuild::readDescription(json, ".", app, diag)) << diag.text();
  return app;
}

int i16(const std::string& bytes, std::size_t offset) {
  return base::getI16(reinterpret_cast<const std::uint8_t*>(bytes.data() + offset));
}

const std::string kTwoLevels = R"({
  "application": { "name": "Trees" },
  "version": { "major": 2, "minor": 3, "build": 41, "date": "06/01/2024", "structure": 5,
               "structureDate": "05/30/2024", "structureTime": "08:15:00", "password": "Fir" },
  "tables": [ { "name": "FILL.dbf",
                "fields": [ { "name": "K", "width": 2 }, { "name": "N", "width": 4 }, { "name": "V", "width": 4 } ],
                "rows": [ [ "DF", "SPC", "x" ] ] } ],
  "levels": [
    { "code": "A____", "table": "PLOTS", "name": "Plot", "columns": [ { "field": "PLOT", "type": "N", "width": 4 } ] },
    { "code": "AA___", "table": "TREES", "blocked": true, "columns": [
        { "field": "PLOT", "type": "N", "width": 4 },
        { "field": "SPC", "width": 2, "title": "Species", "lookup": { "key": "text", "file": "FILL.dbf" } },
        { "field": "DBH", "type": "N", "width": 5, "decimals": 1 } ] },
    { "code": "AB___", "table": "REGEN", "columns": [ { "field": "PLOT" }, { "field": "N" } ] } ] })";

TEST(Images, FixedOffsetsOfTheControlFiles) {
  tfabuild::AppModel app = read(kTwoLevels);
  tfabuild::LevelImages trees = tfabuild::levelImages(app, 1);
  std::string bct = trees.bctBytes();
  ASSERT_EQ(bct.size(), 4624u);
  EXPECT_EQ(i16(bct, 0), 3);  // LastColumn
  EXPECT_EQ(bct.substr(46, 6), std::string("AA___\0", 6));
  EXPECT_EQ(i16(bct, 1854), 1);  // one sibling
  EXPECT_EQ(bct.substr(1856 + 36, 6), std::string("REGEN\0", 6));
  std::string ctl = trees.ctlBytes();
  ASSERT_EQ(ctl.size(), apps::layout::ctlSize(3));
  std::size_t fields = 11572 + 1392, checks = fields + 4 * 110 + 4 * 420;
  EXPECT_EQ(ctl.substr(fields + 2 * 110, 4), std::string("SPC\0", 4));
  EXPECT_EQ(ctl.substr(fields + 2 * 110 + 11, 8), std::string("Species\0", 8));
  EXPECT_EQ(i16(ctl, fields + 2 * 110 + 84), 'C');
  EXPECT_EQ(i16(ctl, fields + 3 * 110 + 84), 'N');
  EXPECT_EQ(i16(ctl, fields + 3 * 110 + 86), 5);
  EXPECT_EQ(i16(ctl, fields + 3 * 110 + 88), 1);
  EXPECT_EQ(i16(ctl, checks + 2 * 2432 + 80), 1);  // look-up kind
  EXPECT_EQ(ctl.substr(checks + 2 * 2432 + 88, 9), std::string("FILL.dbf\0", 9));

  // The root lists its children, the blocked one marked.
  std::string root = tfabuild::levelImages(app, 0).bctBytes();
  EXPECT_EQ(i16(root, 444), 2);
  EXPECT_EQ(root.substr(448 + 36, 6), std::string("TREES\0", 6));
  EXPECT_EQ(i16(root, 1780 + 2), 1);
  EXPECT_EQ(i16(root, 1780 + 4), 0);
  std::string regen = tfabuild::levelImages(app, 2).bctBytes();
  EXPECT_EQ(i16(regen, 3188 + 2), 1);  // its sibling TREES is blocked

  apps::TfaHeader header = tfabuild::headerImage(app);
  const auto& h = header.bytes();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(h.data() + 20)), "Trees.tfa");
  EXPECT_EQ(base::getI32(h.data() + 4), 2);
  EXPECT_EQ(base::getI32(h.data() + 8), 3);
  EXPECT_EQ(base::getI32(h.data() + 12), 41);
  EXPECT_EQ(base::getI32(h.data() + 16), 1);
  EXPECT_EQ(base::getI32(h.data() + 784), 5);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(h.data() + 808)), "08:15:00");
  EXPECT_EQ(h[1174], 'F' * 2);
  EXPECT_EQ(header.appPassword(), "Fir");
}

TEST(Images, DefaultMovesStepOverHiddenColumns) {
  tfabuild::AppModel app = read(R"({ "application": { "name": "Trees" }, "levels": [
    { "code": "A____", "table": "T", "columns": [
        { "field": "A" }, { "field": "B", "hidden": true }, { "field": "C" },
        { "field": "D", "moves": { "enter": [1, -3] } } ] } ] })");
  tfabuild::LevelImages im = tfabuild::levelImages(app, 0);
  namespace cc = apps::layout::column_check;
  const auto& a = im.checks[1];
  EXPECT_EQ(a.moveColumns(cc::kMoveLeft), 0);  // column 1 goes nowhere left
  EXPECT_EQ(a.moveColumns(cc::kMoveRight), 2);  // over the hidden B
  EXPECT_EQ(a.moveLines(cc::kMoveUp), -1);
  EXPECT_EQ(a.moveLines(cc::kMoveDown), 1);
  EXPECT_EQ(im.checks[3].moveColumns(cc::kMoveLeft), -2);
  EXPECT_EQ(im.checks[4].moveColumns(cc::kMoveRight), 0);  // the last column
  EXPECT_EQ(im.checks[4].moveLines(cc::kMoveEnter), 1);     // as the description gave it
  EXPECT_EQ(im.checks[4].moveColumns(cc::kMoveEnter), -3);
  EXPECT_EQ(im.header.firstEnterableColumn(), 1);
  EXPECT_EQ(im.header.lastEnterableColumn(), 4);
}

TEST(Images, LineDisplayScreensStepThroughColumnsWithUpAndDown) {
  tfabuild::AppModel app = read(R"({ "application": { "name": "Trees" }, "levels": [
    { "code": "A____", "table": "T", "screens": [ { "type": "line" } ], "columns": [
        { "field": "A", "title": "Plot" }, { "field": "B", "title": "Stand name" }, { "field": "C", "fieldType": "skipped" } ] } ] })");
  tfabuild::LevelImages im = tfabuild::levelImages(app, 0);
  namespace cc = apps::layout::column_check;
  EXPECT_EQ(im.checks[2].moveLines(cc::kMoveUp), 0);
  EXPECT_EQ(im.checks[2].moveColumns(cc::kMoveUp), -1);
  EXPECT_EQ(im.checks[2].moveColumns(cc::kMoveDown), 1);
  // Titles one under the other, values after the longest title.
  EXPECT_EQ(im.defs[1].titleRow() + 1, im.defs[2].titleRow());
  EXPECT_EQ(im.defs[1].valueColumn(), im.defs[2].valueColumn());
  EXPECT_GT(im.defs[1].valueColumn(), 10);
  EXPECT_EQ(im.header.lastEnterableColumn(), 2);  // C is skipped
}

TEST(Images, VirtualScreensStartANewPageWhenTheRowIsFull) {
  std::string columns;
  for (int i = 0; i < 8; ++i) columns += std::string(i ? "," : "") + R"({ "field": "F)" + std::to_string(i) + R"(", "width": 15 })";
  tfabuild::AppModel app = read(R"({ "application": { "name": "Trees" }, "levels": [
    { "code": "A____", "table": "T", "columns": [ )" + columns + " ] } ] }");
  tfabuild::LevelImages im = tfabuild::levelImages(app, 0);
  EXPECT_EQ(im.defs[1].pageFirstColumn(), 1);
  int last = im.defs[1].pageLastColumn();
  EXPECT_GT(last, 1);
  EXPECT_LT(last, 8);
  EXPECT_EQ(im.defs[last + 1].pageFirstColumn(), last + 1);
  for (int k = 1; k <= 8; ++k) EXPECT_LE(im.defs[k].valueColumn() + 15, 80) << k;
}

TEST(Csv, QuotesLineEndsAndEmptyLines) {
  std::vector<tfabuild::CsvRow> rows;
  std::string error;
  ASSERT_TRUE(tfabuild::parseCsv("\xEF\xBB\xBF" "a,b\r\n\r\n\"x,\"\"y\"\"\",\"two\nlines\"\n,\n", rows, error)) << error;
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].fields, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(rows[1].line, 3);
  EXPECT_EQ(rows[1].fields, (std::vector<std::string>{"x,\"y\"", "two\nlines"}));
  EXPECT_EQ(rows[2].line, 5);
  EXPECT_EQ(rows[2].fields, (std::vector<std::string>{"", ""}));
  EXPECT_FALSE(tfabuild::parseCsv("a,\"open\n", rows, error));
  EXPECT_EQ(error, "line 1: unterminated quote");
  EXPECT_FALSE(tfabuild::parseCsv("\"a\"b\n", rows, error));
}

TEST(Build, TheFolderAndPackageHoldEveryFileOnce) {
  testing_support::TempDir dir;
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = dir.file("Trees");
  options.packagePath = dir.file("Trees.tfa");
  options.memberTime = 133000000000000000ull;
  ASSERT_EQ(tfabuild::buildFromText(kTwoLevels, dir.path(), options, diag), 0) << diag.text();
  for (const char* name : {"app.ctl", "hierarchy.ctl", "ReqFiles.dbf", "PLOTS.bct", "PLOTS.ctl", "TREES.bct",
                           "TREES.ctl", "REGEN.bct", "REGEN.ctl", "FILL.dbf"}) {
    EXPECT_FALSE(testing_support::readBytes(dir.file("Trees/" + std::string(name))).empty()) << name;
  }
  std::string package = testing_support::readBytes(options.packagePath);
  ASSERT_GT(package.size(), 1893u);
  EXPECT_EQ(package.substr(20, 10), std::string("Trees.tfa\0", 10));
  EXPECT_EQ(base::getU32(reinterpret_cast<const std::uint8_t*>(package.data() + 1560)), 10u);
  EXPECT_EQ(package.substr(1893, 13), std::string("ReqFiles.dbf\0", 13));  // the list comes first
}

}  // namespace
}  // namespace tfabuild_test

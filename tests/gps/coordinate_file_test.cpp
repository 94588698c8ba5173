// Coordinate files: their fields per level, their names, and appending
// positions read back by our table reader and by Python's dbfread.
#include "gps/coordinate_file.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "platform/wildcard.hpp"
#include "support/dbfread.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace {

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

datasets::RawName levelTable(int level, const char* code) {
  datasets::RawName n;
  n.datasetNumber = 7;
  n.level = level;
  n.levelCode = code;
  n.datasetName = "North Block";
  n.unitCode = "ABC___";
  return n;
}

gps::GpsData sampleFix() {
  gps::GpsData d;
  d.position.latitude = 42.123456789;
  d.position.longitude = -114.987654321;
  d.position.heightEllipsoid = 1140.26;
  d.position.utcDateText = "06/15/2030";
  d.position.utcTimeText = "12:34:56";
  d.position.fixChar = 'D';
  d.position.satellites = 9;
  d.position.hdop = 1.3;
  return d;
}

// The first record of a table, field name to stored text ("" for none).
std::map<std::string, std::string> firstRecord(const std::string& path) {
  std::map<std::string, std::string> out;
  tablestore::TableStore store;
  tablestore::Table* t = store.openTable(path);
  if (!t || t->goRecord(1) != 0) return out;
  for (int j = 1; j <= t->fieldCount(); ++j) out[t->fieldByNumber(j)->name()] = std::string(t->fieldByNumber(j)->text());
  (void)store.closeTable(t);
  return out;
}

TEST(CoordinateFields, EachLevelAddsOneKeyFieldBeforeThePositionFields) {
  // The widths and types of every field are read back by dbfread below.
  const auto five = gps::coordinateFields(5);
  ASSERT_EQ(five.size(), 15u);
  EXPECT_EQ(five[0].length, 15);
  for (int k = 2; k <= 5; ++k) EXPECT_EQ(five[k - 1].name, std::string("L").append(std::to_string(k)).append("_Key"));
  EXPECT_EQ(five[5].name, "GPSKey");
  EXPECT_EQ(gps::coordinateFields(1).size(), 11u);
  EXPECT_TRUE(gps::coordinateFields(0).empty());
  EXPECT_TRUE(gps::coordinateFields(6).empty());
}

TEST(CoordinateFileName, ReadsBackAsTheRecordsKeysLevelNameAndShape) {
  std::string name;
  ASSERT_TRUE(gps::coordinateFileName(levelTable(2, "AB___"), {"k1", "k2"}, "Plots  ", gps::LogShape::kLine, name));
  EXPECT_EQ(name, "07 2AB___[North Block]ABC___~k1-k2~Plots^GPS Line ^.GPF");
  datasets::RawName back;
  ASSERT_TRUE(datasets::parseRawName(name, back));
  EXPECT_EQ(back.level, 2);
  EXPECT_EQ(back.keyPath, "k1-k2");
  EXPECT_EQ(back.tableName, "Plots");
  EXPECT_EQ(back.gpsSuffix, "^GPS Line ^");
  EXPECT_EQ(back.extension, "GPF");
  EXPECT_TRUE(platform::wildcardMatch(datasets::rawBranchPattern(7, "AB___", "GPF"), name));

  ASSERT_TRUE(gps::coordinateFileName(levelTable(1, "A____"), {"0a1b2c3d4"}, "Trees", gps::LogShape::kPolygon, name));
  EXPECT_EQ(name, "07 1A____[North Block]ABC___~0a1b2c3d4~Trees^GPS Poly ^.GPF");
  EXPECT_TRUE(platform::wildcardMatch("07 1A____[*.GPF", name));
  ASSERT_TRUE(gps::coordinateFileName(levelTable(1, "A____"), {"k"}, "Trees", gps::LogShape::kPoint, name));
  EXPECT_EQ(name, "07 1A____[North Block]ABC___~k~Trees^GPS Point^.GPF");
}

TEST(CoordinateFileName, RefusesWhatWouldNotMakeASafeOrUniqueName) {
  struct Case {
    std::vector<std::string> keys;
    const char* levelName;
  };
  const Case cases[] = {{{"k1"}, "Plots"},          {{"k1", "k2", "k3"}, "Plots"}, {{"k1", "   "}, "Plots"},
                        {{"k1", "a/b"}, "Plots"},   {{"k1", "a~b"}, "Plots"},      {{"k1", "k2"}, "Pl^ots"},
                        {{"k1", "k2"}, "C:Plots"},  {{"k1", "k2"}, "  "}};
  std::string name = "untouched";
  for (const Case& c : cases)
    EXPECT_FALSE(gps::coordinateFileName(levelTable(2, "AB___"), c.keys, c.levelName, gps::LogShape::kLine, name))
        << c.levelName << " " << c.keys.back();
  EXPECT_FALSE(gps::coordinateFileName(levelTable(2, "A____"), {"k1", "k2"}, "Plots", gps::LogShape::kLine, name));
  EXPECT_EQ(name, "untouched");
}

TEST(AppendPosition, CreatesTheFileAndAppendsOneRecordPerPosition) {
  TempDir dir;
  tablestore::TableStore store;
  const std::string path = dir.file("line.GPF");
  int count = -1;
  ASSERT_TRUE(gps::appendPosition(store, path, 2, {"key1", "key2"}, sampleFix(), "LINE", count));
  EXPECT_EQ(count, 1);
  gps::GpsData second = sampleFix();
  second.position.latitude = -1.5;
  second.position.fixChar = ' ';
  ASSERT_TRUE(gps::appendPosition(store, path, 2, {"key1", "key2"}, second, "LINE", count));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(store.openCount(), 0u);

  auto r = firstRecord(path);
  EXPECT_EQ(r.size(), gps::coordinateFields(2).size());
  EXPECT_EQ(r["L2_KEY"], "key2      ");
  EXPECT_EQ(r["UTC_DOF"] + r["UTC_TOF"], "06/15/203012:34:56");
  EXPECT_EQ(r["LATITUDE"], "  42.123456789");
  EXPECT_EQ(r["GPSKEY"].find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz"), 9u) << r["GPSKEY"];

#ifndef _WIN32
  const std::string python = testing_support::pythonWithDbfread();
  if (python.empty()) GTEST_SKIP() << "python3 with dbfread is not installed";
  writeBytes(dir.file("read.py"),
             "import sys, dbfread\nt = dbfread.DBF(sys.argv[1])\n"
             "print(' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count) for f in t.fields))\n"
             "for r in t: print('%s|%s|%s|%r|%r|%r|%s|%d|%r' % (r['L1_KEY'], r['L2_KEY'], r['F_TYPE'], "
             "r['LATITUDE'], r['LONGITUDE'], r['ELEVATION'], r['FIX'], r['SV'], r['DOP']))\n");
  const std::string out = dir.file("out.txt");
  const std::string cmd = python + " '" + dir.file("read.py") + "' '" + path + "' >'" + out + "' 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << readBytes(out);
  EXPECT_EQ(readBytes(out),
            "L1_KEY:C:15:0 L2_KEY:C:10:0 GPSKEY:C:10:0 F_TYPE:C:5:0 UTC_DOF:C:10:0 UTC_TOF:C:8:0 "
            "LATITUDE:N:14:9 LONGITUDE:N:14:9 ELEVATION:N:6:1 FIX:C:1:0 SV:N:2:0 DOP:N:5:1\n"
            "key1|key2|LINE|42.123456789|-114.987654321|1140.3|D|9|1.3\n"
            "key1|key2|LINE|-1.5|-114.987654321|1140.3||9|1.3\n");
#endif
}

TEST(AppendPosition, EachKeyStaysInsideItsOwnField) {
  TempDir dir;
  tablestore::TableStore store;
  const std::string path = dir.file("long.GPF");
  int count = 0;
  ASSERT_TRUE(gps::appendPosition(store, path, 3, {"0123456789abcdefXYZ", "second-key-too-long", "k3"},
                                  sampleFix(), "POLY", count));
  auto r = firstRecord(path);
  EXPECT_EQ(r["L1_KEY"], "0123456789abcde");
  EXPECT_EQ(r["L2_KEY"], "second-key");
  EXPECT_EQ(r["L3_KEY"], "k3        ");
  EXPECT_EQ(r["GPSKEY"].size(), 10u);
}

TEST(AppendPosition, AnOlderFileKeepsItsFieldsAndGetsThoseItHas) {
  TempDir dir;
  tablestore::TableStore store;
  const std::string path = dir.file("old.GPF");
  const std::vector<tablestore::FieldSpec> old = {
      {"L1_Key", 'C', 15, 0}, {"LATITUDE", 'N', 14, 9}, {"LONGITUDE", 'N', 14, 9}, {"SV", 'N', 2, 0}};
  tablestore::Table* made = store.createTable(path, old);
  ASSERT_NE(made, nullptr);
  ASSERT_EQ(store.closeTable(made), 0);
  int count = 0;
  ASSERT_TRUE(gps::appendPosition(store, path, 2, {"k1", "k2"}, sampleFix(), "LINE", count));
  EXPECT_EQ(count, 1);
  auto r = firstRecord(path);
  EXPECT_EQ(r, (std::map<std::string, std::string>{
                   {"L1_KEY", "k1             "}, {"LATITUDE", "  42.123456789"}, {"LONGITUDE", "-114.987654321"},
                   {"SV", " 9"}}));
}

TEST(AppendPosition, ANumberTooWideForItsFieldDoesNotLoseThePosition) {
  TempDir dir;
  tablestore::TableStore store;
  const std::string path = dir.file("wide.GPF");
  gps::GpsData fix = sampleFix();
  fix.position.heightEllipsoid = 123456.0;
  fix.position.satellites = 140;
  int count = 0;
  ASSERT_TRUE(gps::appendPosition(store, path, 1, {"k1"}, fix, "LINE", count));
  EXPECT_EQ(store.error(), 0);
  auto r = firstRecord(path);
  EXPECT_EQ(r["ELEVATION"] + r["SV"], "********");
  EXPECT_EQ(r["LONGITUDE"] + r["DOP"], "-114.987654321  1.3");
}

TEST(AppendPosition, AFileThatCannotBeOpenedOrCreatedStoresNothing) {
  TempDir dir;
  tablestore::TableStore store;
  int count = 42;
  EXPECT_FALSE(gps::appendPosition(store, dir.file("missing") + "/x.GPF", 1, {"k1"}, sampleFix(), "LINE", count));
  const std::string bad = dir.file("bad.GPF");
  writeBytes(bad, "not a table");
  EXPECT_FALSE(gps::appendPosition(store, bad, 1, {"k1"}, sampleFix(), "LINE", count));
  EXPECT_EQ(readBytes(bad), "not a table");
  EXPECT_FALSE(gps::appendPosition(store, dir.file("level.GPF"), 6, {"k1"}, sampleFix(), "LINE", count));
  EXPECT_EQ(count, 42);
  EXPECT_EQ(store.error(), 0);
  EXPECT_EQ(store.openCount(), 0u);
}

}  // namespace

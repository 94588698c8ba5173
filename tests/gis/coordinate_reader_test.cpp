// Reading coordinate files: names, records, bad values and damaged tables.
#include "gislib/coordinate_reader.hpp"

#include <gtest/gtest.h>

#include "gis/coordinate_fixture.hpp"

namespace {

using gis_fixture::fixAt;
using gis_fixture::levelTable;
using gis_fixture::makeCoordinateFile;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

bool mentions(const std::vector<std::string>& notes, const std::string& text) {
  for (const std::string& n : notes)
    if (n.find(text) != std::string::npos) return true;
  return false;
}

TEST(CoordinateFileNames, OnlyDataNamesWithTheExtensionAndAShapeSuffix) {
  datasets::RawName n;
  gps::LogShape shape = gps::LogShape::kPoint;
  ASSERT_TRUE(gislib::parseCoordinateFileName("07 2AB___[North Block]ABC___~k1-k2~Plots^GPS Line ^.GPF", n, shape));
  EXPECT_EQ(shape, gps::LogShape::kLine);
  EXPECT_EQ(n.datasetNumber, 7);
  EXPECT_EQ(n.tableName, "Plots");
  ASSERT_TRUE(gislib::parseCoordinateFileName("07 1A____[North Block]ABC___~k1~Trees^GPS Poly^.gpf", n, shape));
  EXPECT_EQ(shape, gps::LogShape::kPolygon);
  EXPECT_FALSE(gislib::parseCoordinateFileName("07 1A____[North Block]ABC___~k1~Trees^GPS Poly ^.dbf", n, shape));
  EXPECT_FALSE(gislib::parseCoordinateFileName("07 1A____[North Block]ABC___~k1~Trees^GPS Circle^.GPF", n, shape));
  EXPECT_FALSE(gislib::parseCoordinateFileName("07 1A____[North Block]ABC___~~Trees.GPF", n, shape));
  EXPECT_FALSE(gislib::parseCoordinateFileName("trees.GPF", n, shape));
}

TEST(ReadCoordinateFile, RecordsComeBackInOrderWithKeysAsStored) {
  TempDir dir;
  const std::string name = makeCoordinateFile(dir.path(), levelTable(7, 2, "AB___"), {"k1", "k2"}, "Plots",
                                              gps::LogShape::kLine,
                                              {fixAt(42.5, -114.25, 1), fixAt(42.6, -114.35, 2), fixAt(-1, 179, 3)},
                                              "LINE");
  gislib::CoordinateFile f;
  std::vector<std::string> notes;
  ASSERT_TRUE(gislib::readCoordinateFile(dir.path(), name, f, notes));
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(f.shape, gps::LogShape::kLine);
  EXPECT_EQ(f.name.level, 2);
  ASSERT_EQ(f.records.size(), 3u);
  const gislib::CoordinateRecord& r = f.records[2];
  EXPECT_EQ(r.recordNumber, 3);
  EXPECT_EQ(r.keys, (std::vector<std::string>{"k1             ", "k2        "}));
  EXPECT_EQ(r.fType, "LINE ");
  EXPECT_EQ(r.utcTime, "12:34:03");
  EXPECT_DOUBLE_EQ(r.latitude, -1);
  EXPECT_DOUBLE_EQ(r.longitude, 179);
  EXPECT_EQ(r.elevation, 1140.2);
  EXPECT_EQ(r.satellites, 9);
  EXPECT_EQ(r.dop, 1.3);
  EXPECT_EQ(r.fix, "D");
}

TEST(ReadCoordinateFile, BadRecordsAreLeftOutWithANoteAndTheRestRead) {
  TempDir dir;
  gps::GpsData tooHigh = fixAt(123.5, 10), tooWest = fixAt(10, -181), wide = fixAt(10, 10);
  wide.position.heightEllipsoid = 123456;  // stored as '*': the position is kept, the height is not
  const std::string name =
      makeCoordinateFile(dir.path(), levelTable(7, 1, "A____"), {"k1"}, "Trees", gps::LogShape::kPoint,
                         {fixAt(1, 2), tooHigh, tooWest, wide, fixAt(3, 4), fixAt(5, 6)}, "POINT");
  {
    // Damage two records the way a broken disk or editor would.
    tablestore::TableStore store;
    tablestore::Table* t = store.openTable(dir.file(name));
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->goRecord(5), 0);
    ASSERT_EQ(t->fieldByName("LONGITUDE")->assignText("   nan"), 0);
    ASSERT_EQ(t->goRecord(6), 0);
    ASSERT_EQ(t->fieldByName("SV")->assignText("-3"), 0);
    ASSERT_EQ(store.closeTable(t), 0);
  }
  gislib::CoordinateFile f;
  std::vector<std::string> notes;
  ASSERT_TRUE(gislib::readCoordinateFile(dir.path(), name, f, notes));
  ASSERT_EQ(f.records.size(), 2u);
  EXPECT_EQ(f.records[0].recordNumber, 1);
  EXPECT_EQ(f.records[1].recordNumber, 4);
  EXPECT_FALSE(f.records[1].elevation.has_value());
  ASSERT_EQ(notes.size(), 4u);
  EXPECT_TRUE(mentions(notes, "record 2 left out: latitude 123.5"));
  EXPECT_TRUE(mentions(notes, "record 3 left out: longitude -181"));
  EXPECT_TRUE(mentions(notes, "record 5 left out: LONGITUDE is not a number"));
  EXPECT_TRUE(mentions(notes, "record 6 left out: SV"));
}

TEST(ReadCoordinateFile, TheFileIsNeverWrittenEvenWhenItsHeaderIsStale) {
  TempDir dir;
  const std::string name = makeCoordinateFile(dir.path(), levelTable(3, 1, "A____"), {"k1"}, "Trees",
                                              gps::LogShape::kLine, {fixAt(1, 1), fixAt(2, 2), fixAt(3, 3)}, "Line");
  // A crash after an append leaves the header's count behind the records.
  std::string bytes = readBytes(dir.file(name));
  ASSERT_EQ(bytes[4], 3);
  bytes[4] = 1;
  writeBytes(dir.file(name), bytes);
  gislib::CoordinateFile f;
  std::vector<std::string> notes;
  ASSERT_TRUE(gislib::readCoordinateFile(dir.path(), name, f, notes));
  EXPECT_EQ(f.records.size(), 3u);
  EXPECT_EQ(readBytes(dir.file(name)), bytes);
}

TEST(ReadCoordinateFile, DamagedOrForeignFilesAreSkippedWithTheReason) {
  TempDir dir;
  const std::string name = makeCoordinateFile(dir.path(), levelTable(3, 1, "A____"), {"k1"}, "Trees",
                                              gps::LogShape::kLine, {fixAt(1, 1), fixAt(2, 2)}, "Line");
  const std::string whole = readBytes(dir.file(name));
  gislib::CoordinateFile f;
  std::vector<std::string> notes;
  for (std::size_t cut : {std::size_t{0}, std::size_t{20}, std::size_t{100}}) {
    writeBytes(dir.file(name), whole.substr(0, cut));
    notes.clear();
    EXPECT_FALSE(gislib::readCoordinateFile(dir.path(), name, f, notes)) << cut;
    EXPECT_TRUE(mentions(notes, "skipped: not a readable table")) << cut;
  }

  // A table of the right name without a position field.
  const std::string other = "03 1A____[North Block]ABC___~k2~Trees^GPS Line ^.GPF";
  {
    tablestore::TableStore store;
    const std::vector<tablestore::FieldSpec> fields = {{"L1_Key", 'C', 15, 0}, {"LONGITUDE", 'N', 14, 9}};
    tablestore::Table* t = store.createTable(dir.file(other), fields);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(store.closeTable(t), 0);
  }
  notes.clear();
  EXPECT_FALSE(gislib::readCoordinateFile(dir.path(), other, f, notes));
  EXPECT_TRUE(mentions(notes, "no field LATITUDE"));

  notes.clear();
  EXPECT_FALSE(gislib::readCoordinateFile(dir.path(), "notes.GPF", f, notes));
  EXPECT_TRUE(mentions(notes, "notes.GPF: skipped: the name is not a coordinate file name"));
  notes.clear();
  EXPECT_FALSE(gislib::readCoordinateFile(dir.path(), "03 1A____[North Block]ABC___~k9~Trees^GPS Line ^.GPF", f,
                                          notes));
  EXPECT_TRUE(mentions(notes, "cannot be read"));
}

}  // namespace

#include "gps/waypoint_table.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/fileops.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace {

using gps::WaypointRecord;
using gps::WaypointTable;
using testing_support::TempDir;

TEST(WaypointTable, IsCreatedWithItsFieldsAndKeepsRecordsInOrder) {
  TempDir dir;
  const std::string path = gps::waypointTablePath(dir.path(), platform::kSep);
  EXPECT_EQ(path, dir.file("Waypoints.dbf"));
  {
    WaypointTable t;
    ASSERT_EQ(t.open(path), WaypointTable::Opened::kCreated);
    EXPECT_EQ(t.count(), 0);
    ASSERT_TRUE(t.append({"Gate", 42.12345678, -114.87654321}));
    ASSERT_TRUE(t.append({"Well", -1.5, 7.25}));
    EXPECT_EQ(t.count(), 2);
    ASSERT_TRUE(t.close());
  }
  tablestore::TableStore store;
  tablestore::Table* raw = store.openTable(path);
  ASSERT_NE(raw, nullptr);
  const auto fields = raw->fieldInfo();
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[0].name, "WAYPOINT");
  EXPECT_EQ(fields[0].type, 'C');
  EXPECT_EQ(fields[0].length, 25);
  EXPECT_EQ(fields[1].name, "LATITUDE");
  EXPECT_EQ(fields[1].length, 13);
  EXPECT_EQ(fields[1].decimals, 8);
  EXPECT_EQ(fields[2].name, "LONGITUDE");
  ASSERT_EQ(raw->goRecord(1), 0);
  EXPECT_EQ(raw->fieldByName("latitude")->text(), "  42.12345678");
  EXPECT_EQ(raw->fieldByName("longitude")->text(), "-114.87654321");
  ASSERT_EQ(store.closeTable(raw), 0);

  WaypointTable again;
  ASSERT_EQ(again.open(path), WaypointTable::Opened::kExisting);
  WaypointRecord r;
  ASSERT_TRUE(again.read(2, r));
  EXPECT_EQ(r.name, "Well");
  EXPECT_DOUBLE_EQ(r.latitude, -1.5);
  EXPECT_DOUBLE_EQ(r.longitude, 7.25);
  EXPECT_FALSE(again.read(3, r));
  EXPECT_FALSE(again.read(0, r));
  EXPECT_EQ(r.name, "Well");  // untouched by the refused reads
}

TEST(WaypointTable, APositionTooWideForItsFieldIsRefusedAndNothingChanges) {
  TempDir dir;
  WaypointTable t;
  ASSERT_EQ(t.open(dir.file("Waypoints.dbf")), WaypointTable::Opened::kCreated);
  ASSERT_TRUE(t.append({"kept", 10, 20}));
  EXPECT_FALSE(t.append({"wide", 10000, 0}));
  EXPECT_FALSE(t.append({"nan", 0, std::nan("")}));
  EXPECT_FALSE(t.overwrite(1, {"wide", 0, -1000}));
  EXPECT_EQ(t.count(), 1);
  WaypointRecord r;
  ASSERT_TRUE(t.read(1, r));
  EXPECT_EQ(r.name, "kept");
  EXPECT_DOUBLE_EQ(r.longitude, 20);
  // The refusals leave no error behind: the table still takes records.
  EXPECT_TRUE(t.append({"next", -999.5, 179.99999999}));
  EXPECT_EQ(t.count(), 2);
}

TEST(WaypointList, StartsWithTheCurrentPositionAndReadsNamesAsWideText) {
  TempDir dir;
  const std::string path = dir.file("Waypoints.dbf");
  EXPECT_EQ(gps::loadWaypointList(path).size(), 1u);  // no file
  EXPECT_FALSE(platform::fileExists(path));           // and none is made
  {
    WaypointTable t;
    ASSERT_EQ(t.open(path), WaypointTable::Opened::kCreated);
    ASSERT_TRUE(t.append({"Caf\xe9  ", 45.5, -110.25}));  // 8-bit e acute
    ASSERT_TRUE(t.append({"", 0, 0}));
  }
  const auto list = gps::loadWaypointList(path);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, "-< Current Position >-");
  EXPECT_EQ(list[1].name, "Caf\xc3\xa9");
  EXPECT_DOUBLE_EQ(list[1].latitude, 45.5);
  EXPECT_DOUBLE_EQ(list[1].longitude, -110.25);
  EXPECT_EQ(list[2].name, "");

  testing_support::writeBytes(path, "not a table");
  EXPECT_EQ(gps::loadWaypointList(path).size(), 1u);
}

TEST(WaypointList, AnOlderTableWithoutALongitudeFieldIsReadWithTheFieldsItHas) {
  TempDir dir;
  const std::string path = dir.file("Waypoints.dbf");
  {
    tablestore::TableStore store;
    const std::vector<tablestore::FieldSpec> fields{{"waypoint", 'C', 20, 0}, {"latitude", 'N', 13, 8}};
    tablestore::Table* raw = store.createTable(path, fields);
    ASSERT_NE(raw, nullptr);
    ASSERT_EQ(raw->appendStart(), 0);
    ASSERT_EQ(raw->fieldByName("WAYPOINT")->assignText("Old"), 0);
    ASSERT_EQ(raw->fieldByName("LATITUDE")->assignNumber(12.5), 0);
    ASSERT_EQ(raw->append(), 0);
    ASSERT_EQ(store.closeTable(raw), 0);
  }
  {
    WaypointTable t;
    ASSERT_EQ(t.open(path), WaypointTable::Opened::kExisting);
    ASSERT_TRUE(t.append({"NewNameLongerThanTwentyChars", 1.25, 99}));
  }
  const auto list = gps::loadWaypointList(path);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[1].name, "Old");
  EXPECT_DOUBLE_EQ(list[1].latitude, 12.5);
  EXPECT_DOUBLE_EQ(list[1].longitude, 0);
  EXPECT_EQ(list[2].name, "NewNameLongerThanTwe");  // cut at the field's 20
  EXPECT_DOUBLE_EQ(list[2].latitude, 1.25);
}

}  // namespace

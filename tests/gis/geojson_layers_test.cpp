// The three layers made from coordinate files read into memory.
#include "gislib/geojson_layers.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace {

using gislib::CoordinateFile;
using gislib::CoordinateRecord;
using nlohmann::json;

CoordinateRecord record(double lat, double lon, const char* time) {
  CoordinateRecord r;
  r.keys = {"root-key       ", "plot7     "};
  r.fType = "LINE ";
  r.utcDate = "06/15/2030";
  r.utcTime = time;
  r.fix = "D";
  r.latitude = lat;
  r.longitude = lon;
  r.satellites = 8;
  r.dop = 1.2;
  return r;
}

CoordinateFile file(gps::LogShape shape, std::vector<CoordinateRecord> records) {
  CoordinateFile f;
  f.fileName = "07 2AB___[North Block]ABC___~k1-k2~Plots^GPS Line ^.GPF";
  f.name.datasetNumber = 7;
  f.name.level = 2;
  f.name.tableName = "Pl\xE9" "ts";  // as found on disk, not UTF-8
  f.shape = shape;
  f.records = std::move(records);
  return f;
}

TEST(PointsLayer, OnePointPerRecordLongitudeFirstWithTheRecordsProperties) {
  CoordinateRecord a = record(42.123456789, -114.987654321, "12:00:01");
  a.elevation = 1140.2;
  CoordinateRecord b = record(-1.5, 2.25, "12:00:02");
  b.satellites.reset();
  const std::vector<CoordinateFile> files = {file(gps::LogShape::kPoint, {a, b}),
                                             file(gps::LogShape::kLine, {a, b})};
  const json layer = json::parse(gislib::pointsLayer(files));
  EXPECT_EQ(layer["type"], "FeatureCollection");
  ASSERT_EQ(layer["features"].size(), 2u);
  const json& first = layer["features"][0];
  EXPECT_EQ(first["geometry"], json::parse(R"({"type":"Point","coordinates":[-114.987654321,42.123456789]})"));
  const json& p = first["properties"];
  EXPECT_EQ(p["DATASET"], 7);
  EXPECT_EQ(p["LEVEL"], 2);
  EXPECT_EQ(p["LEVEL_NAME"], "Pl\xC3\xA9ts");
  EXPECT_EQ(p["L1_Key"], "root-key       ");
  EXPECT_EQ(p["L2_Key"], "plot7     ");
  EXPECT_EQ(p["UTC_TOF"], "12:00:01");
  EXPECT_EQ(p["ELEVATION"], 1140.2);
  EXPECT_EQ(p["SV"], 8);
  const json& q = layer["features"][1]["properties"];
  EXPECT_TRUE(q["ELEVATION"].is_null());
  EXPECT_TRUE(q["SV"].is_null());
  EXPECT_EQ(layer["features"][1]["geometry"]["coordinates"], json::parse("[2.25,-1.5]"));
}

TEST(LinesLayer, VerticesInRecordOrderAndAFileOfOnePositionLeftOutWithANote) {
  const std::vector<CoordinateFile> files = {
      file(gps::LogShape::kLine, {record(1, 10, "12:00:01"), record(2, 20, "12:00:05"), record(3, 30, "12:01:00")}),
      file(gps::LogShape::kLine, {record(4, 40, "13:00:00")}),
      file(gps::LogShape::kPolygon, {record(1, 1, "1"), record(2, 2, "2"), record(1, 3, "3")})};
  std::vector<std::string> notes;
  const json layer = json::parse(gislib::linesLayer(files, notes));
  ASSERT_EQ(layer["features"].size(), 1u);
  const json& f = layer["features"][0];
  EXPECT_EQ(f["geometry"]["type"], "LineString");
  EXPECT_EQ(f["geometry"]["coordinates"], json::parse("[[10,1],[20,2],[30,3]]"));
  const json& p = f["properties"];
  EXPECT_EQ(p["VERTICES"], 3);
  EXPECT_EQ(p["FIRST_TOF"], "12:00:01");
  EXPECT_EQ(p["LAST_TOF"], "12:01:00");
  EXPECT_EQ(p["UTC_TOF"], json::parse(R"(["12:00:01","12:00:05","12:01:00"])"));
  EXPECT_EQ(p["SV"], json::parse("[8,8,8]"));
  EXPECT_EQ(p["F_TYPE"], "LINE ");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("line left out: 1 position"), std::string::npos) << notes[0];
}

TEST(PolygonsLayer, TheRingIsClosedOnceAndTooFewDistinctVerticesAreLeftOut) {
  const std::vector<CoordinateFile> files = {
      file(gps::LogShape::kPolygon, {record(0, 0, "1"), record(0, 1, "2"), record(1, 1, "3"), record(1, 0, "4")}),
      // Walked back to the start: the last record closes the ring already.
      file(gps::LogShape::kPolygon, {record(0, 0, "1"), record(0, 1, "2"), record(1, 1, "3"), record(0, 0, "4")}),
      // Four records but two places.
      file(gps::LogShape::kPolygon, {record(5, 5, "1"), record(5, 6, "2"), record(5, 5, "3"), record(5, 6, "4")})};
  std::vector<std::string> notes;
  const json layer = json::parse(gislib::polygonsLayer(files, notes));
  ASSERT_EQ(layer["features"].size(), 2u);
  EXPECT_EQ(layer["features"][0]["geometry"]["type"], "Polygon");
  EXPECT_EQ(layer["features"][0]["geometry"]["coordinates"], json::parse("[[[0,0],[1,0],[1,1],[0,1],[0,0]]]"));
  EXPECT_EQ(layer["features"][0]["properties"]["VERTICES"], 4);
  EXPECT_EQ(layer["features"][1]["geometry"]["coordinates"], json::parse("[[[0,0],[1,0],[1,1],[0,0]]]"));
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("2 distinct"), std::string::npos) << notes[0];
}

TEST(Layers, NoFilesMakeEmptyCollections) {
  std::vector<std::string> notes;
  EXPECT_EQ(json::parse(gislib::pointsLayer({}))["features"], json::array());
  EXPECT_EQ(json::parse(gislib::polygonsLayer({}, notes))["features"], json::array());
  EXPECT_TRUE(notes.empty());
}

}  // namespace

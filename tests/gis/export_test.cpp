// The command line and the whole export of a data folder.
#include "gislib/export.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "gis/coordinate_fixture.hpp"
#include "platform/fileops.hpp"

namespace {

using gis_fixture::fixAt;
using gis_fixture::levelTable;
using gis_fixture::makeCoordinateFile;
using nlohmann::json;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

TEST(ExportArguments, FolderDatasetAndOut) {
  gislib::ExportOptions o;
  std::string why;
  ASSERT_TRUE(gislib::parseArguments({"data"}, o, why));
  EXPECT_EQ(o.dataFolder, "data");
  EXPECT_FALSE(o.dataset.has_value());
  EXPECT_EQ(o.outFolder, ".");
  ASSERT_TRUE(gislib::parseArguments({"--out", "gis", "data", "--dataset", "07"}, o, why));
  EXPECT_EQ(o.dataset, 7);
  EXPECT_EQ(o.outFolder, "gis");
  EXPECT_EQ(o.dataFolder, "data");
}

TEST(ExportArguments, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> bad = {
      {},          {"a", "b"},          {"a", "--dataset"},       {"a", "--dataset", "100"},
      {"a", "--dataset", "-1"},         {"a", "--dataset", "7x"}, {"a", "--out", ""},
      {"a", "-x"}, {"a", "--out", "o", "--out", "p"},             {"--dataset", "3"}};
  for (const auto& args : bad) {
    gislib::ExportOptions o;
    o.dataFolder = "untouched";
    std::string why;
    EXPECT_FALSE(gislib::parseArguments(args, o, why)) << args.size();
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(o.dataFolder, "untouched");
  }
}

class ExportFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    makeCoordinateFile(data.path(), levelTable(7, 1, "A____"), {"t1"}, "Trees", gps::LogShape::kPoint,
                       {fixAt(1, 2), fixAt(3, 4)}, "POINT");
    makeCoordinateFile(data.path(), levelTable(8, 1, "A____"), {"t2"}, "Trees", gps::LogShape::kPoint,
                       {fixAt(5, 6)}, "POINT");
    makeCoordinateFile(data.path(), levelTable(8, 2, "AA___"), {"t2", "p1"}, "Plots", gps::LogShape::kLine,
                       {fixAt(5, 6), fixAt(5, 7)}, "Line");
  }
  json layer(const char* name) const {
    return json::parse(readBytes(outFolder() + platform::kSep + name));
  }
  std::string outFolder() const { return out.file("layers"); }

  TempDir data, out;
  std::vector<std::string> notes;
};

TEST_F(ExportFolder, EveryDatasetByDefaultAndOneWhenAsked) {
  gislib::ExportOptions o{data.path(), std::nullopt, outFolder()};
  ASSERT_EQ(gislib::exportLayers(o, notes), gislib::kExitDone);
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(layer("points.geojson")["features"].size(), 3u);
  EXPECT_EQ(layer("lines.geojson")["features"].size(), 1u);
  EXPECT_EQ(layer("polygons.geojson")["features"], json::array());

  o.dataset = 7;
  ASSERT_EQ(gislib::exportLayers(o, notes), gislib::kExitDone);
  const json points = layer("points.geojson");
  ASSERT_EQ(points["features"].size(), 2u);
  EXPECT_EQ(points["features"][1]["properties"]["DATASET"], 7);
  EXPECT_EQ(points["features"][1]["geometry"]["coordinates"], json::parse("[4,3]"));
  EXPECT_EQ(layer("lines.geojson")["features"], json::array());
}

TEST_F(ExportFolder, ASkippedFileIsReportedAndTheOthersStillWritten) {
  writeBytes(data.file("08 1A____[North Block]ABC___~t3~Trees^GPS Point^.GPF"), "damaged");
  writeBytes(data.file("stray.GPF"), "");
  gislib::ExportOptions o{data.path(), 8, outFolder()};
  EXPECT_EQ(gislib::exportLayers(o, notes), gislib::kExitSkipped);
  EXPECT_EQ(notes.size(), 2u);
  EXPECT_EQ(layer("points.geojson")["features"].size(), 1u);
  EXPECT_EQ(layer("lines.geojson")["features"].size(), 1u);
}

TEST_F(ExportFolder, AMissingDataFolderIsABadArgumentAndWritesNothing) {
  gislib::ExportOptions o{data.file("missing"), std::nullopt, outFolder()};
  EXPECT_EQ(gislib::exportLayers(o, notes), gislib::kExitUsage);
  EXPECT_FALSE(platform::folderExists(outFolder()));
}

}  // namespace

// The GIS export read back by GDAL's ogrinfo: the geometry types, feature
// counts and coordinates a GIS sees. A missing ogrinfo fails the test: the
// setup installs gdal-bin.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>
#include <string>

#include "gis/coordinate_fixture.hpp"
#include "gislib/export.hpp"

namespace {

using gis_fixture::fixAt;
using gis_fixture::levelTable;
using gis_fixture::makeCoordinateFile;
using testing_support::TempDir;

std::string ogrinfo(const std::string& arguments) {
  std::string out;
  FILE* pipe = popen(("ogrinfo " + arguments + " 2>&1").c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot start ogrinfo";
    return out;
  }
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  EXPECT_EQ(pclose(pipe), 0) << "ogrinfo " << arguments << ":\n" << out;
  return out;
}

// The numbers of every geometry line of ogrinfo's feature listing that starts
// with word ("POINT", "LINESTRING"), one list per geometry. ogrinfo writes
// the numbers in its own way ("45" or "45.0"), so they are compared as numbers.
std::vector<std::vector<double>> geometries(const std::string& listing, const std::string& word) {
  std::vector<std::vector<double>> out;
  std::size_t at = 0;
  while ((at = listing.find("\n  " + word + " (", at)) != std::string::npos) {
    const std::size_t end = listing.find('\n', at + 1);
    std::string text = listing.substr(at + 4 + word.size(), end - at - 4 - word.size());
    for (char& c : text)
      if (c == '(' || c == ')' || c == ',') c = ' ';
    std::vector<double> numbers;
    const char* p = text.c_str();
    for (char* next = nullptr;; p = next) {
      const double v = std::strtod(p, &next);
      if (next == p) break;
      numbers.push_back(v);
    }
    out.push_back(numbers);
    at = end;
  }
  return out;
}

void expectCoordinates(const std::vector<double>& got, const std::vector<double>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-10) << "number " << i;
}

int occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(GisExportInOgrinfo, ShapesCountsAndCoordinatesAreWhatWasLogged) {
  TempDir data, out;
  makeCoordinateFile(data.path(), levelTable(4, 1, "A____"), {"tree1"}, "Trees", gps::LogShape::kPoint,
                     {fixAt(42.123456789, -114.987654321), fixAt(-33.5, 151.25), fixAt(0.000000001, -0.5)}, "POINT");
  makeCoordinateFile(data.path(), levelTable(4, 2, "AA___"), {"tree1", "plot2"}, "Plots", gps::LogShape::kLine,
                     {fixAt(10, 20, 1), fixAt(10.1, 20, 2), fixAt(10.2, 20.1, 3), fixAt(10.3, 20.2, 4),
                      fixAt(10.4, 20.4, 5)},
                     "LINE");
  makeCoordinateFile(data.path(), levelTable(4, 1, "A____"), {"stand9"}, "Stands", gps::LogShape::kPolygon,
                     {fixAt(45, -120), fixAt(45, -119.5), fixAt(45.5, -119.5), fixAt(45.5, -120)}, "Poly");
  testing_support::writeBytes(data.file("04 1A____[North Block]ABC___~tree2~Trees^GPS Point^.GPF"),
                              std::string("\x03\x7E\x06\x0F\x01\x00\x00\x00", 8));

  gislib::ExportOptions options{data.path(), std::nullopt, out.path()};
  std::vector<std::string> notes;
  EXPECT_EQ(gislib::exportLayers(options, notes), gislib::kExitSkipped);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("~tree2~Trees^GPS Point^.GPF: skipped"), std::string::npos) << notes[0];

  const std::string points = out.file("points.geojson");
  const std::string lines = out.file("lines.geojson");
  const std::string polygons = out.file("polygons.geojson");
  const std::string pointSummary = ogrinfo("-al -so '" + points + "'");
  EXPECT_NE(pointSummary.find("Geometry: Point"), std::string::npos) << pointSummary;
  EXPECT_NE(pointSummary.find("Feature Count: 3"), std::string::npos) << pointSummary;
  EXPECT_NE(pointSummary.find("WGS 84"), std::string::npos) << pointSummary;
  const std::string lineSummary = ogrinfo("-al -so '" + lines + "'");
  EXPECT_NE(lineSummary.find("Geometry: Line String"), std::string::npos) << lineSummary;
  EXPECT_NE(lineSummary.find("Feature Count: 1"), std::string::npos) << lineSummary;
  const std::string polygonSummary = ogrinfo("-al -so '" + polygons + "'");
  EXPECT_NE(polygonSummary.find("Geometry: Polygon"), std::string::npos) << polygonSummary;
  EXPECT_NE(polygonSummary.find("Feature Count: 1"), std::string::npos) << polygonSummary;

  const std::string pointFeatures = ogrinfo("-al '" + points + "'");
  const auto pointGeometries = geometries(pointFeatures, "POINT");
  ASSERT_EQ(pointGeometries.size(), 3u) << pointFeatures;
  expectCoordinates(pointGeometries[0], {-114.987654321, 42.123456789});
  expectCoordinates(pointGeometries[1], {151.25, -33.5});
  expectCoordinates(pointGeometries[2], {-0.5, 0.000000001});
  EXPECT_EQ(occurrences(pointFeatures, "LEVEL_NAME (String) = Trees"), 3) << pointFeatures;
  EXPECT_NE(pointFeatures.find("F_TYPE (String) = POINT"), std::string::npos) << pointFeatures;

  const std::string lineFeatures = ogrinfo("-al '" + lines + "'");
  const auto lineGeometries = geometries(lineFeatures, "LINESTRING");
  ASSERT_EQ(lineGeometries.size(), 1u) << lineFeatures;
  expectCoordinates(lineGeometries[0], {20, 10, 20, 10.1, 20.1, 10.2, 20.2, 10.3, 20.4, 10.4});
  EXPECT_NE(lineFeatures.find("VERTICES (Integer) = 5"), std::string::npos) << lineFeatures;
  EXPECT_NE(lineFeatures.find("L2_Key (String) = plot2"), std::string::npos) << lineFeatures;
  EXPECT_NE(lineFeatures.find("SV (IntegerList) = (5:9,9,9,9,9)"), std::string::npos) << lineFeatures;

  const std::string polygonFeatures = ogrinfo("-al '" + polygons + "'");
  const auto polygonGeometries = geometries(polygonFeatures, "POLYGON");
  ASSERT_EQ(polygonGeometries.size(), 1u) << polygonFeatures;
  expectCoordinates(polygonGeometries[0], {-120, 45, -119.5, 45, -119.5, 45.5, -120, 45.5, -120, 45});
}

}  // namespace

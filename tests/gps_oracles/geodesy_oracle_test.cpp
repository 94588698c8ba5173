// The grid and the leg lengths against GeographicLib's command-line tools
// (GeoConvert, TransverseMercatorProj, GeodSolve), each run once over a
// file of many points. A missing tool fails the test: the setup installs them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "gps/geodesy.hpp"
#include "gps/parms.hpp"
#include "support/temp_dir.hpp"

namespace {

// Runs command with the lines as its input; the output lines, or a failure
// when the command does not run to a clean end.
std::vector<std::string> runTool(const std::string& command, const std::vector<std::string>& lines) {
  testing_support::TempDir dir;
  const std::string input = dir.file("input.txt");
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  testing_support::writeBytes(input, text);
  std::vector<std::string> output;
  FILE* pipe = popen((command + " < '" + input + "' 2>&1").c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot start " << command;
    return output;
  }
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) {
    std::string line = buffer;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    output.push_back(line);
  }
  const int status = pclose(pipe);
  EXPECT_EQ(status, 0) << command << " failed (is GeographicLib's tools package installed?): "
                       << (output.empty() ? std::string() : output.front());
  EXPECT_EQ(output.size(), lines.size()) << command;
  return output;
}

// Fixed notation: the tools read "1e-06" as degrees and a hemisphere letter.
// The values are rounded to what the line holds, so both sides see the same.
std::string pointLine(double& a, double& b) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%.12f %.12f", a, b);
  std::sscanf(buffer, "%lf %lf", &a, &b);
  return buffer;
}

struct Point {
  double latitude, longitude;
};

// Points over every zone and both hemispheres, a share of them inside the
// widened zones of Norway and Svalbard, and some on the zones' edges.
std::vector<Point> gridPoints(std::size_t count) {
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> anyLat(-80.0, 84.0), anyLon(-180.0, 180.0), unit(0.0, 1.0);
  std::vector<Point> points;
  for (std::size_t i = 0; points.size() < count; ++i) {
    switch (i % 10) {
      case 0: points.push_back({56.0 + 8.0 * unit(random), 12.0 * unit(random)}); break;            // Norway
      case 1: points.push_back({72.0 + 11.999 * unit(random), -3.0 + 48.0 * unit(random)}); break;  // Svalbard
      case 2: {  // just inside the west or east edge of a standard zone
        const int zone = 1 + static_cast<int>(60 * unit(random)) % 60;
        const double edge = 6.0 * zone - 186.0 + (unit(random) < 0.5 ? 1e-6 : 6.0 - 1e-6);
        points.push_back({anyLat(random), edge});
        break;
      }
      default: points.push_back({anyLat(random), anyLon(random)}); break;
    }
  }
  return points;
}

TEST(GeodesyOracle, UtmAgreesWithGeoConvertOverAllZones) {
  std::vector<Point> points = gridPoints(10000);
  std::vector<std::string> lines;
  for (Point& p : points) lines.push_back(pointLine(p.latitude, p.longitude));
  const std::vector<std::string> out = runTool("GeoConvert -u -p 4", lines);
  ASSERT_EQ(out.size(), points.size());
  int failures = 0;
  double worst = 0;
  for (std::size_t i = 0; i < points.size() && failures < 10; ++i) {
    int zone = 0;
    char hemisphere = 0;
    double easting = 0, northing = 0;
    // "32n 276979.9258 6658157.2024": zone with its hemisphere letter; the
    // southern northing already carries the false northing.
    ASSERT_EQ(std::sscanf(out[i].c_str(), "%d%c %lf %lf", &zone, &hemisphere, &easting, &northing), 4) << out[i];
    const gps::UtmPosition u = gps::toUtm(gps::kWgs84, points[i].latitude, points[i].longitude);
    const double error = std::fmax(std::fabs(u.easting - easting), std::fabs(u.northing - northing));
    worst = std::fmax(worst, error);
    const bool ok = u.zone == zone && hemisphere == (points[i].latitude < 0 ? 's' : 'n') && error <= 0.01;
    if (!ok) ++failures;
    EXPECT_TRUE(ok) << lines[i] << ": ours " << u.zoneText << " " << u.easting << " " << u.northing
                    << ", GeoConvert " << out[i];
  }
  std::printf("worst grid difference %.6f m\n", worst);
}

TEST(GeodesyOracle, UtmOnEveryEllipsoidAgreesWithTransverseMercatorProj) {
  // Zone 33 (central meridian 15) throughout: longitudes 12 to 18.
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> lat(-80.0, 84.0), lon(12.0, 18.0);
  std::vector<Point> points;
  std::vector<std::string> lines;
  for (int i = 0; i < 200; ++i) {
    points.push_back({lat(random), lon(random)});
    lines.push_back(pointLine(points.back().latitude, points.back().longitude));
  }
  const auto& table = gps::ellipsoids();
  for (std::size_t e = 1; e < table.size(); ++e) {
    const double flattening = 1.0 - std::sqrt(1.0 - table[e].eccentricitySquared);
    char command[160];
    std::snprintf(command, sizeof command, "TransverseMercatorProj -e %.17g %.17g -l 15 -k 0.9996 -p 4",
                  table[e].semiMajor, flattening);
    const std::vector<std::string> out = runTool(command, lines);
    ASSERT_EQ(out.size(), points.size()) << table[e].name;
    for (std::size_t i = 0; i < points.size(); ++i) {
      double x = 0, y = 0;
      ASSERT_EQ(std::sscanf(out[i].c_str(), "%lf %lf", &x, &y), 2) << out[i];
      const gps::UtmPosition u = gps::toUtm(static_cast<int>(e), points[i].latitude, points[i].longitude);
      ASSERT_EQ(u.zone, 33) << lines[i];
      EXPECT_NEAR(u.easting, 500000.0 + x, 0.01) << table[e].name << " " << lines[i];
      EXPECT_NEAR(u.northing, y + (points[i].latitude < 0 ? 10000000.0 : 0.0), 0.01) << table[e].name << " " << lines[i];
    }
  }
}

TEST(GeodesyOracle, ShortLegsAgreeWithGeodSolve) {
  std::mt19937_64 random(99);
  std::uniform_real_distribution<double> lat(-80.0, 80.0), lon(-180.0, 180.0), unit(0.0, 1.0);
  constexpr double kPi = 3.14159265358979323846;
  struct Leg {
    double lat1, lon1, lat2, lon2;
  };
  std::vector<Leg> legs;
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) {
    // Lengths from a metre to about 9.9 km, in every direction; one leg in
    // ten starts close west of the 180° meridian and may cross it.
    const double metres = std::exp(std::log(9900.0) * unit(random));
    const double direction = 2 * kPi * unit(random);
    double lat1 = lat(random);
    double lon1 = i % 10 == 0 ? 179.95 + 0.05 * unit(random) : lon(random);
    double lat2 = lat1 + metres * std::cos(direction) / 111500.0;
    double lon2 = lon1 + metres * std::sin(direction) / (111500.0 * std::cos(lat1 * kPi / 180));
    if (lon2 >= 180) lon2 -= 360;
    lines.push_back(pointLine(lat1, lon1) + " " + pointLine(lat2, lon2));
    legs.push_back({lat1, lon1, lat2, lon2});
  }
  const std::vector<std::string> out = runTool("GeodSolve -i -p 6", lines);
  ASSERT_EQ(out.size(), legs.size());
  int failures = 0;
  for (std::size_t i = 0; i < legs.size() && failures < 10; ++i) {
    double azimuth = 0, azimuthAtEnd = 0, length = 0;
    ASSERT_EQ(std::sscanf(out[i].c_str(), "%lf %lf %lf", &azimuth, &azimuthAtEnd, &length), 3) << out[i];
    ASSERT_LT(length, 10000.0) << lines[i];
    gps::DistanceBearing d;
    d.fromLatitude = legs[i].lat1;
    d.fromLongitude = legs[i].lon1;
    d.toLatitude = legs[i].lat2;
    d.toLongitude = legs[i].lon2;
    gps::distanceBearing(d, gps::kMeters, false, 0);
    double turn = std::fmod(d.bearing - azimuth, 360.0);
    if (turn < -180) turn += 360;
    if (turn > 180) turn -= 360;
    const bool ok = std::fabs(d.metres - length) <= length * 5e-4 && std::fabs(turn) <= 1.0;
    if (!ok) ++failures;
    EXPECT_TRUE(ok) << lines[i] << ": ours " << d.metres << " m " << d.bearing << "°, GeodSolve " << out[i];
  }
}

}  // namespace

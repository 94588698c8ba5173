#include "gps/geodesy.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gps/parms.hpp"

namespace {

using gps::toUtm;

TEST(Ellipsoids, TheTableInItsOrder) {
  const auto& table = gps::ellipsoids();
  ASSERT_EQ(table.size(), 24u);
  EXPECT_EQ(table.front().id, -1);
  EXPECT_STREQ(table.front().name, "Placeholder");
  for (std::size_t i = 1; i < table.size(); ++i) {
    EXPECT_EQ(table[i].id, static_cast<int>(i));
    EXPECT_EQ(table[i].semiMajor, std::floor(table[i].semiMajor)) << table[i].name;
  }
  EXPECT_STREQ(table[1].name, "Airy");
  EXPECT_EQ(table[1].semiMajor, 6377563);
  EXPECT_STREQ(table[4].name, "Bessel 1841 (Nambia) ");
  EXPECT_STREQ(table[8].name, "Fischer 1960 (Mercury) ");
  EXPECT_EQ(table[14].eccentricitySquared, 0.00672267);
  const gps::Ellipsoid& wgs84 = table[gps::kWgs84];
  EXPECT_STREQ(wgs84.name, "WGS-84");
  EXPECT_EQ(wgs84.semiMajor, 6378137);
  EXPECT_EQ(wgs84.eccentricitySquared, 0.00669438);
}

TEST(Utm, ZonesWithTheNorwayAndSvalbardWidenings) {
  struct Case {
    double latitude, longitude;
    int zone;
  } cases[] = {
      {60, 5, 32},    {56, 3, 32},     {55.99, 5, 31},  {63.99, 3, 32}, {64, 5, 31},   {60, 2.99, 31},
      {75, 10, 33},   {72, 8.99, 31},  {72, 9, 33},     {80, 21, 35},   {83.9, 33, 37}, {75, 41.99, 37},
      {75, 42, 38},   {71.99, 10, 32}, {84, 10, 32},    {75, -0.01, 30}, {0, 0, 31},    {0, -0.01, 30},
      {-45, 170, 59}, {0, 179.99, 60}, {0, -180, 1},    {0, 180, 1},    {0, 540, 1},    {0, -186, 60},
  };
  for (const Case& c : cases) {
    const gps::UtmPosition u = toUtm(gps::kWgs84, c.latitude, c.longitude);
    EXPECT_EQ(u.zone, c.zone) << c.latitude << "," << c.longitude;
    EXPECT_EQ(u.zoneText, "z" + std::to_string(c.zone));
  }
}

TEST(Utm, KnownGridPositions) {
  // Worked out with GeographicLib.
  struct Case {
    double latitude, longitude, easting, northing;
  } cases[] = {
      {60, 5, 276979.926, 6658157.202},           // Norway: six degrees west of zone 32's meridian
      {75, 10, 355706.567, 8329692.651},          // Svalbard
      {42.725912, -114.51937297, 703093.348, 4733362.469},
      {-33.8568, 151.2153, 334900.570, 6252288.753},
  };
  for (const Case& c : cases) {
    const gps::UtmPosition u = toUtm(gps::kWgs84, c.latitude, c.longitude);
    EXPECT_NEAR(u.easting, c.easting, 0.005) << c.latitude << "," << c.longitude;
    EXPECT_NEAR(u.northing, c.northing, 0.005) << c.latitude << "," << c.longitude;
  }
}

TEST(Utm, NorthingsEitherSideOfTheEquator) {
  const gps::UtmPosition south = toUtm(gps::kWgs84, -1, 3);
  const gps::UtmPosition north = toUtm(gps::kWgs84, 1, 3);
  EXPECT_LT(south.northing, 10000000.0);
  EXPECT_GT(south.northing, 9880000.0);
  EXPECT_GT(north.northing, 0.0);
  EXPECT_LT(north.northing, 120000.0);
  EXPECT_NEAR(south.northing + north.northing, 10000000.0, 1e-6);
  EXPECT_EQ(toUtm(gps::kWgs84, 0, 3).northing, 0.0);
  EXPECT_DOUBLE_EQ(north.easting, 500000.0);
}

TEST(Utm, LongitudeOneEightyIsMinusOneEighty) {
  const gps::UtmPosition east = toUtm(gps::kWgs84, 10, 180);
  const gps::UtmPosition west = toUtm(gps::kWgs84, 10, -180);
  EXPECT_EQ(east.zone, 1);
  EXPECT_DOUBLE_EQ(east.easting, west.easting);
  EXPECT_DOUBLE_EQ(east.northing, west.northing);
  EXPECT_LT(east.easting, 500000.0);  // west of zone 1's meridian
}

TEST(Utm, TheEllipsoidMatters) {
  const gps::UtmPosition wgs = toUtm(gps::kWgs84, 45, 9);
  const gps::UtmPosition international = toUtm(14, 45, 9);
  // GeographicLib's transverse Mercator on the International ellipsoid.
  EXPECT_DOUBLE_EQ(international.easting, 500000.0);
  EXPECT_NEAR(international.northing, 4983043.1223, 0.005);
  EXPECT_NEAR(wgs.northing, 4982950.4002, 0.005);
  // Out-of-range entries fall back to WGS-84; the poles and NaN stay finite.
  EXPECT_DOUBLE_EQ(toUtm(99, 45, 9).northing, wgs.northing);
  for (double lat : {90.0, -90.0, 100.0, std::nan("")}) {
    const gps::UtmPosition u = toUtm(gps::kWgs84, lat, 7);
    EXPECT_TRUE(std::isfinite(u.northing) && std::isfinite(u.easting)) << lat;
  }
}

gps::DistanceBearing leg(double lat1, double lon1, double lat2, double lon2, int unit = gps::kMeters,
                         bool magnetic = false, double variation = 0) {
  gps::DistanceBearing d;
  d.fromLatitude = lat1;
  d.fromLongitude = lon1;
  d.toLatitude = lat2;
  d.toLongitude = lon2;
  gps::distanceBearing(d, unit, magnetic, variation);
  return d;
}

// A due-north leg from (45, 7) of the given length, found by halving.
gps::DistanceBearing northLegOf(double metres, int unit) {
  double low = 45, high = 45.1;
  for (int i = 0; i < 80; ++i) {
    const double mid = (low + high) / 2;
    (leg(45, 7, mid, 7).metres < metres ? low : high) = mid;
  }
  return leg(45, 7, high, 7, unit);
}

TEST(DistanceBearing, SamePointIsNothing) {
  for (bool magnetic : {false, true}) {
    const gps::DistanceBearing d = leg(45, 7, 45 + 5e-8, 7 - 5e-8, gps::kMeters, magnetic, 10);
    EXPECT_EQ(d.metres, 0.0);
    EXPECT_EQ(d.feet, 0.0);
    EXPECT_EQ(d.bearing, 0);
    EXPECT_EQ(d.distanceText, "   0.0 Meters");
    EXPECT_EQ(d.bearingText, magnetic ? "  0\u00B0M" : "  0\u00B0T");
  }
}

TEST(DistanceBearing, BearingsInEveryQuadrant) {
  struct Case {
    double lat2, lon2;
    int bearing;
  } cases[] = {
      {45.01, 7, 0},           {44.99, 7, 180},         {45, 7.01, 90},          {45, 6.99, 270},
      {45.003, 7.00423, 45},   {45.003, 6.99577, 315},  {44.997, 6.99577, 225},  {44.997, 7.00423, 135},
  };
  for (const Case& c : cases) {
    const gps::DistanceBearing d = leg(45, 7, c.lat2, c.lon2);
    EXPECT_TRUE(std::isfinite(d.metres)) << c.lat2 << "," << c.lon2;
    EXPECT_GT(d.metres, 400.0) << c.lat2 << "," << c.lon2;
    EXPECT_EQ(d.bearing, c.bearing) << c.lat2 << "," << c.lon2;
  }
}

TEST(DistanceBearing, DueEastAndWestLegsAreFinite) {
  // Near the equator the azimuth's sine comes out a rounding above 1.
  for (double lat : {0.0, -0.08, -0.07, 45.0, -60.0}) {
    for (double lon : {0.0, 100.0}) {
      for (double dLon : {0.001, -0.001, 0.5, -1e-6}) {
        const gps::DistanceBearing d = leg(lat, lon, lat, lon + dLon);
        EXPECT_TRUE(std::isfinite(d.metres)) << lat << " " << lon << " " << dLon;
        EXPECT_GT(d.metres, 0.0) << lat << " " << lon << " " << dLon;
        EXPECT_EQ(d.bearing, dLon > 0 ? 90 : 270) << lat << " " << lon << " " << dLon;
      }
    }
  }
}

TEST(DistanceBearing, LegsOverTheDateLineGoTheShortWay) {
  const gps::DistanceBearing east = leg(10, 179.995, 10.005, -179.995);
  const gps::DistanceBearing west = leg(10, -179.995, 9.995, 179.995);
  EXPECT_NEAR(east.metres, leg(10, -0.005, 10.005, 0.005).metres, 1e-6);
  EXPECT_LT(east.metres, 1600.0);
  EXPECT_EQ(east.bearing, 63);  // GeographicLib: 63.23
  EXPECT_EQ(west.bearing, 243);
  EXPECT_EQ(leg(10, 180, 10, -180).metres, 0.0);
}

TEST(DistanceBearing, LengthsFollowTheRadiusAlongTheLeg) {
  // GeographicLib's geodesic lengths: north-south the meridian radius
  // counts, east-west the prime-vertical one.
  EXPECT_NEAR(leg(45, 7, 45.01, 7).metres, 1111.318751, 1111.3 * 5e-4);
  EXPECT_NEAR(leg(45, 7, 45, 7.01).metres, 788.468350, 788.5 * 5e-4);
  EXPECT_NEAR(leg(0, 0, 0, 0.01).metres, 1113.194908, 1113.2 * 5e-4);
  EXPECT_NEAR(leg(60, 5, 60.003, 5.006).metres, 473.070004, 473.1 * 5e-4);
  const gps::DistanceBearing d = leg(45, 7, 45.01, 7);
  EXPECT_NEAR(d.feet, d.metres / 0.3048000831495, 1e-9);
}

TEST(DistanceBearing, MagneticAddsTheVariation) {
  // A westerly variation is stored positive, an easterly one negative.
  const gps::DistanceBearing west = leg(45, 7, 45, 6.99, gps::kMeters, true, 10);
  EXPECT_EQ(west.bearing, 280);
  EXPECT_EQ(west.bearingText, "280\u00B0M");
  EXPECT_EQ(leg(45, 7, 45, 6.99).bearingText, "270\u00B0T");
  EXPECT_EQ(leg(45, 7, 45.01, 7, gps::kMeters, true, -10).bearing, 350);
  EXPECT_EQ(leg(45, 7, 45.003, 6.99577, gps::kMeters, true, 50).bearing, 5);
  EXPECT_EQ(leg(45, 7, 45.01, 7, gps::kMeters, true, 359.6).bearing, 0);
  EXPECT_EQ(leg(45, 7, 45, 7.01, gps::kMeters, true, -725).bearing, 85);
}

TEST(DistanceBearing, MetresSwitchToKilometres) {
  for (int unit : {gps::kMeters, gps::kKilometer}) {
    const gps::DistanceBearing below = northLegOf(999.0, unit);
    EXPECT_EQ(below.unitName, "Meters");
    EXPECT_EQ(below.distanceText, " 999.0 Meters");
    const gps::DistanceBearing at = northLegOf(1000.0, unit);
    EXPECT_EQ(at.unitName, "KiloMeters");
    EXPECT_NEAR(at.display, 1.0, 1e-6);
    EXPECT_EQ(at.distanceText, "   1.0 KiloMeters");
  }
}

TEST(DistanceBearing, FeetSwitchToMiles) {
  for (int unit : {gps::kFeet, gps::kMiles}) {
    const gps::DistanceBearing below = northLegOf(1609.0, unit);
    EXPECT_EQ(below.unitName, "Feet");
    EXPECT_EQ(below.distanceText, "5278.9 Feet");
    const gps::DistanceBearing at = northLegOf(1609.4, unit);
    EXPECT_EQ(at.unitName, "Miles");
    EXPECT_EQ(at.distanceText, "   1.0 Miles");
    EXPECT_EQ(northLegOf(8046.7, unit).distanceText, "   5.0 Miles");
  }
}

TEST(DistanceBearing, NauticalMilesFromOneInternationalMile) {
  const gps::DistanceBearing feet = northLegOf(1800.0, gps::kNautMile);
  EXPECT_EQ(feet.unitName, "Feet");
  EXPECT_EQ(feet.distanceText, "5905.5 Feet");
  // Between the international mile and the longer speed constant.
  const gps::DistanceBearing mile = northLegOf(1852.5, gps::kNautMile);
  EXPECT_EQ(mile.unitName, "Nautical Miles");
  EXPECT_NEAR(mile.display, 1852.5 / 1852.0, 1e-6);
  EXPECT_EQ(northLegOf(9260.0, gps::kNautMile).distanceText, "   5.0 Nautical Miles");
}

}  // namespace

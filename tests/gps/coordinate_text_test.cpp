#include "gps/coordinate_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using gps::coordinateTexts;

// The fixed start position of the receiver: one point seen in every format.
constexpr double kLat = 42.725912, kLon = -114.51937297;

TEST(CoordinateTexts, EveryFormatOfOneKnownPoint) {
  struct Case {
    int format;
    const char* latitude;
    const char* longitude;
  } cases[] = {
      {gps::kRawDecDeg, "    42.72591200 ", " -114.51937297 "},
      {gps::kDecimalDeg, "   42.72591200\u00B0N ", " 114.51937297\u00B0W "},
      {gps::kDegMinutes, "  42\u00B043.55472'N ", "114\u00B031.16238'W "},
      {gps::kDegMinSec, "  42\u00B043'33.28\"N ", "114\u00B031'09.74\"W "},
      {gps::kUtm, " 4733362.5N", "   703093.3E"},
      {gps::kUtmZone, " 4733362.5N z11 ", "   703093.3E "},
  };
  for (const Case& c : cases) {
    const gps::CoordinateTexts t = coordinateTexts(kLat, kLon, c.format);
    EXPECT_EQ(t.latitude, c.latitude) << gps::coordinateFormatName(c.format);
    EXPECT_EQ(t.longitude, c.longitude) << gps::coordinateFormatName(c.format);
  }
}

TEST(CoordinateTexts, SouthernAndEasternHemispheresShowAbsoluteValuesWithTheirLetters) {
  const gps::CoordinateTexts dms = coordinateTexts(-33.5, 151.25, gps::kDegMinSec);
  EXPECT_EQ(dms.latitude, "  33\u00B030'00.00\"S ");
  EXPECT_EQ(dms.longitude, "151\u00B015'00.00\"E ");
  const gps::CoordinateTexts dm = coordinateTexts(-0.25, -0.5, gps::kDegMinutes);
  EXPECT_EQ(dm.latitude, "   0\u00B015.00000'S ");
  EXPECT_EQ(dm.longitude, "  0\u00B030.00000'W ");
  const gps::CoordinateTexts raw = coordinateTexts(-33.5, 151.25, gps::kRawDecDeg);
  EXPECT_EQ(raw.latitude, "   -33.50000000 ");
  // The southern grid carries the false northing.
  const gps::CoordinateTexts utm = coordinateTexts(-33.8568, 151.2153, gps::kUtmZone);
  EXPECT_EQ(utm.latitude, " 6252288.8N z56 ");
  EXPECT_EQ(utm.longitude, "   334900.6E ");
}

TEST(CoordinateTexts, SecondsAndMinutesThatRoundToSixtyCarry) {
  // 59.9964 seconds: would print as 60.00.
  const double nearlyEleven = 10.0 + 59.0 / 60.0 + 59.9964 / 3600.0;
  EXPECT_EQ(coordinateTexts(nearlyEleven, -nearlyEleven, gps::kDegMinSec).latitude, "  11\u00B000'00.00\"N ");
  EXPECT_EQ(coordinateTexts(nearlyEleven, -nearlyEleven, gps::kDegMinSec).longitude, " 11\u00B000'00.00\"W ");
  // 59 minutes 59.99 seconds is shown as it is.
  const double justBelow = 10.0 + 59.0 / 60.0 + 59.99 / 3600.0;
  EXPECT_EQ(coordinateTexts(justBelow, 0, gps::kDegMinSec).latitude, "  10\u00B059'59.99\"N ");
  // Seconds that carry into a minute that is not the last.
  const double minuteCarry = 10.0 + 29.0 / 60.0 + 59.999 / 3600.0;
  EXPECT_EQ(coordinateTexts(minuteCarry, 0, gps::kDegMinSec).latitude, "  10\u00B030'00.00\"N ");
  // Minutes 59.999996 would print as 60.00000.
  const double minutes = 10.0 + 59.999996 / 60.0;
  EXPECT_EQ(coordinateTexts(minutes, 0, gps::kDegMinutes).latitude, "  11\u00B000.00000'N ");
  EXPECT_EQ(coordinateTexts(10.0 + 59.99999 / 60.0, 0, gps::kDegMinutes).latitude, "  10\u00B059.99999'N ");
}

TEST(CoordinateTexts, UnknownFormatsAreDegMinSec) {
  const gps::CoordinateTexts dms = coordinateTexts(kLat, kLon, gps::kDegMinSec);
  for (int format : {9, -1, 6}) {
    const gps::CoordinateTexts t = coordinateTexts(kLat, kLon, format);
    EXPECT_EQ(t.latitude, dms.latitude) << format;
    EXPECT_EQ(t.longitude, dms.longitude) << format;
    EXPECT_STREQ(gps::coordinateFormatName(format), "Deg Min Sec");
  }
  EXPECT_STREQ(gps::coordinateFormatName(0), "Raw Dec Deg");
  EXPECT_STREQ(gps::coordinateFormatName(5), "UTM+Zone");
}

TEST(CoordinateTexts, ValuesThatAreNoPositionGiveShortTexts) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int format = 0; format <= 5; ++format) {
    const gps::CoordinateTexts t = coordinateTexts(nan, 1e300, format);
    EXPECT_EQ(t.latitude, coordinateTexts(0, 0, format).latitude) << format;
    EXPECT_LT(t.longitude.size(), 24u) << format;
  }
}

TEST(ElevationText, MetresOrFeet) {
  EXPECT_EQ(gps::elevationText(1140.0, true), "1140.0M");
  EXPECT_EQ(gps::elevationText(1140.0, false), "3740.2F");
  EXPECT_EQ(gps::elevationText(-12.26, true), " -12.3M");
  EXPECT_EQ(gps::elevationText(std::numeric_limits<double>::infinity(), true), "   0.0M");
}

TEST(FormatPosition, FollowsTheSettings) {
  gps::Position p;
  p.latitude = kLat;
  p.longitude = kLon;
  p.heightEllipsoid = 1140.0;
  p.altitudeMsl = 1000.0;
  gps::GpsParms parms;  // Deg Min Sec, standard units, HAE
  gps::formatPosition(p, parms);
  EXPECT_EQ(p.latitudeText, "  42\u00B043'33.28\"N ");
  EXPECT_EQ(p.longitudeText, "114\u00B031'09.74\"W ");
  EXPECT_EQ(p.elevationText, "3740.2F");

  parms.setCoordinateFormat(gps::kUtmZone);
  parms.setUnitOfMeasure(gps::kMetric);
  parms.setElevationRef(gps::kMsl);
  gps::formatPosition(p, parms);
  EXPECT_EQ(p.latitudeText, " 4733362.5N z11 ");
  EXPECT_EQ(p.elevationText, "1000.0M");

  parms.setCoordinateFormat(9);
  parms.setUnitOfMeasure(gps::kNautical);
  parms.setElevationRef(gps::kHae);
  gps::formatPosition(p, parms);
  EXPECT_EQ(p.latitudeText, "  42\u00B043'33.28\"N ");
  EXPECT_EQ(p.elevationText, "3740.2F");
}

}  // namespace

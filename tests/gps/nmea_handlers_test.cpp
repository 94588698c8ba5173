// The sentence handlers on the position state: fixes and their loss, the
// default position, speed and course, the clock, RMC before any GGA, the
// status warning, and sentences that must be dropped whole.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gps/coordinate_text.hpp"
#include "gps/nmea.hpp"
#include "support/nmea_sentence.hpp"

namespace {

using gpstest::nmea;

std::string gga(const std::string& lat, const std::string& ns, const std::string& lon, const std::string& ew,
                char quality, int satellites, const std::string& hdop = "0.9") {
  return "GPGGA,123519.6," + lat + "," + ns + "," + lon + "," + ew + "," + quality + "," + std::to_string(satellites) +
         "," + hdop + ",545.4,M,46.9,M,,";
}
const std::string kFixGga = gga("4807.038", "N", "01131.000", "E", '1', 8);

class Handlers : public ::testing::Test {
 protected:
  Handlers() {
    in.utcNow.year = 2024;
    in.utcNow.month = 3;
    in.utcNow.day = 5;
    in.utcNow.hour = 10;
    in.utcNow.minute = 20;
    in.utcNow.second = 30;
    d.parms.setRequire3d(false);
    d.parms.setMinSatellites(0);
  }
  gps::DecodeEffects feed(const std::string& body) { return gps::handleSentence(d, nmea(body), in); }
  // A sentence that must change nothing at all.
  void expectDropped(const std::string& sentence) {
    const gps::GpsData before = d;
    EXPECT_FALSE(gps::handleSentence(d, sentence, in).handled) << sentence;
    EXPECT_EQ(d.position.latitude, before.position.latitude) << sentence;
    EXPECT_EQ(d.position.longitude, before.position.longitude) << sentence;
    EXPECT_EQ(d.position.utcTimeText, before.position.utcTimeText) << sentence;
    EXPECT_EQ(d.position.valid, before.position.valid) << sentence;
    EXPECT_EQ(d.quality.pdop, before.quality.pdop) << sentence;
    EXPECT_EQ(d.parms.magneticVariation(), before.parms.magneticVariation()) << sentence;
  }
  gps::GpsData d;
  gps::DecodeInput in;
};

TEST_F(Handlers, GgaFixSetsPositionTimeTextsFlagsAndPlaysActiveOnce) {
  const gps::DecodeEffects e = feed(kFixGga);
  EXPECT_TRUE(e.handled);
  EXPECT_TRUE(e.soundActive);
  const gps::Position& p = d.position;
  EXPECT_NEAR(p.latitude, 48 + 7.038 / 60, 1e-12);
  EXPECT_NEAR(p.longitude, 11 + 31.0 / 60, 1e-12);
  EXPECT_DOUBLE_EQ(p.altitudeMsl, 545.4);
  EXPECT_DOUBLE_EQ(p.heightEllipsoid, 545.4 + 46.9);
  EXPECT_EQ(p.utcTimeText, "12:35:20");  // seconds rounded
  EXPECT_EQ(p.utcDateText, "03/05/2024");
  EXPECT_DOUBLE_EQ(p.fixTimeOfDay, 123519.6);
  EXPECT_EQ(p.fixChar, 'G');
  EXPECT_EQ(p.satellites, 8);
  EXPECT_EQ(p.satellitesText, "8");
  EXPECT_EQ(p.hdopText, "0.9");
  EXPECT_EQ(d.texts.satellites, "Sv:8 ");
  EXPECT_EQ(d.texts.fixType, "GPS");
  EXPECT_EQ(d.quality.dgps, 0.0);
  EXPECT_EQ(p.valid, 1);
  EXPECT_EQ(p.old, 0);
  EXPECT_TRUE(d.received.gga);
  for (int flag : d.newFix) EXPECT_EQ(flag, 1);
  // The texts are those of the coordinate format in force.
  const gps::CoordinateTexts texts = gps::coordinateTexts(p.latitude, p.longitude, d.parms.coordinateFormat());
  EXPECT_EQ(p.latitudeText, texts.latitude);
  EXPECT_EQ(p.longitudeText, texts.longitude);
  // The previous position equals the first fix, then trails by one.
  EXPECT_EQ(d.previousLatitude, p.latitude);
  EXPECT_FALSE(feed(kFixGga).soundActive);
  feed(gga("3351.123", "s", "15112.456", "w", '1', 8));
  EXPECT_NEAR(d.position.latitude, -(33 + 51.123 / 60), 1e-12);
  EXPECT_NEAR(d.position.longitude, -(151 + 12.456 / 60), 1e-12);
  EXPECT_NEAR(d.previousLatitude, 48 + 7.038 / 60, 1e-12);
}

TEST_F(Handlers, QualityZeroLosesTheFixOnceWithTheSatelliteStatus) {
  feed(kFixGga);
  const gps::DecodeEffects lost = feed(gga("4807.038", "N", "01131.000", "E", '0', 3));
  EXPECT_TRUE(lost.soundInactive);
  const gps::Position& p = d.position;
  EXPECT_EQ(p.valid, 0);
  EXPECT_EQ(p.old, 1);
  EXPECT_EQ(p.warning, 1);
  EXPECT_EQ(p.fixChar, ' ');
  EXPECT_EQ(p.statusText, "Old - Only 3 Usable Satellites" + std::string(22, ' '));
  EXPECT_EQ(d.texts.fixType, "");
  EXPECT_EQ(d.quality.fixMode, "");
  for (int flag : d.newFix) EXPECT_EQ(flag, 0);
  EXPECT_FALSE(feed(gga("4807.038", "N", "01131.000", "E", '0', 1)).soundInactive);
  EXPECT_EQ(p.statusText.substr(0, 29), "Old - Only 1 Usable Satellite");
  feed(gga("4807.038", "N", "01131.000", "E", '0', 7));
  EXPECT_EQ(p.statusText, "Old - No GPS Time Available" + std::string(25, ' '));
  EXPECT_TRUE(feed(kFixGga).soundActive);
}

TEST_F(Handlers, ZeroPositionGivesTheDefaultBeforeAnyGgaAndKeepsTheLastAfterwards) {
  feed(gga("0000.000", "N", "00000.000", "E", '0', 0));
  EXPECT_DOUBLE_EQ(d.position.latitude, gps::kDefaultLatitude);
  EXPECT_DOUBLE_EQ(d.position.longitude, gps::kDefaultLongitude);
  EXPECT_DOUBLE_EQ(d.position.heightEllipsoid, gps::kDefaultHeight);
  EXPECT_FALSE(d.position.latitudeText.empty());
  feed(kFixGga);
  feed(gga("", "", "", "", '1', 8));
  EXPECT_NEAR(d.position.latitude, 48 + 7.038 / 60, 1e-12);
  EXPECT_DOUBLE_EQ(d.position.altitudeMsl, 545.4);
}

TEST_F(Handlers, GgaAloneGives3DFromFiveSatellitesOrAnyDifferentialFix) {
  feed(gga("4807.038", "N", "01131.000", "E", '1', 4));
  EXPECT_EQ(d.texts.dimension, "");
  EXPECT_EQ(d.quality.fixMode, "");
  feed(gga("4807.038", "N", "01131.000", "E", '1', 5));
  EXPECT_EQ(d.texts.dimension, "3D");
  EXPECT_EQ(d.quality.dimension(), '3');
  // Differential, RTK fixed and RTK float: 3D at any count, DGPS flag set.
  for (char quality : {'2', '4', '5'}) {
    gps::GpsData fresh;
    d = fresh;
    d.parms.setRequire3d(false);
    feed(gga("4807.038", "N", "01131.000", "E", quality, 3));
    EXPECT_EQ(d.texts.dimension, "3D") << quality;
    EXPECT_EQ(d.texts.fixType, "DGPS") << quality;
    EXPECT_EQ(d.quality.dgps, 1.0) << quality;
    EXPECT_EQ(d.position.fixChar, 'D') << quality;
    EXPECT_EQ(d.position.valid, 1) << quality;
  }
  // Once a GSA was seen its mode stands.
  feed("GPGSA,A,2,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
  feed(gga("4807.038", "N", "01131.000", "E", '2', 9));
  EXPECT_EQ(d.texts.dimension, "A2D");
}

TEST_F(Handlers, OtherQualityKeepsAValidFixAndClearsWithoutOneLeavingTheStatus) {
  feed(kFixGga);
  feed(gga("4807.038", "N", "01131.000", "E", '6', 8));
  EXPECT_EQ(d.position.valid, 1);
  EXPECT_EQ(d.position.fixChar, 'G');
  gps::GpsData fresh;
  d = fresh;
  d.position.statusText = "kept";
  d.newFix[gps::kLineFix] = 1;
  feed(gga("4807.038", "N", "01131.000", "E", '8', 8));
  EXPECT_EQ(d.position.valid, 0);
  EXPECT_EQ(d.position.old, 1);
  EXPECT_EQ(d.position.statusText, "kept");
  EXPECT_EQ(d.newFix[gps::kLineFix], 0);
}

TEST_F(Handlers, BadChecksumsOtherTalkersAndShortSentencesAreDropped) {
  feed(kFixGga);
  std::string oneBit = nmea(gga("4807.038", "N", "01131.000", "E", '1', 9));
  oneBit[20] ^= 0x02;
  expectDropped(oneBit);
  const std::string noStar = nmea(kFixGga);
  expectDropped(noStar.substr(0, noStar.find('*')));
  expectDropped(nmea("GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00"));
  expectDropped(nmea("BDGGA,101010,1000.000,N,01000.000,E,1,08,0.9,545.4,M,46.9,M,,"));
  expectDropped(nmea("GPGGA,101010,1000.000,N,01000.000,E,1,08,0.9,545.4,M,46.9,M"));  // 14 fields
  expectDropped(nmea("GPVTG,054.7,T,034.4,M,005.5,N,010.2"));
  // PDOP is field 15: a GSA of 15 fields has none.
  expectDropped(nmea("GPGSA,A,3,04,05,,09,12,,,24,,,,"));
  EXPECT_TRUE(feed("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5").handled);
  expectDropped(nmea("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1"));
  EXPECT_FALSE(gps::handleSentence(d, nmea("GPZDA,123519,05,03"), in).handled);
}

TEST_F(Handlers, NumbersOutOfRangeDropTheSentence) {
  feed(kFixGga);
  for (const char* lat : {"9999.999", "9000.001", "4860.000", "-4807.0"})
    expectDropped(nmea(gga(lat, "N", "01131.000", "E", '1', 8)));
  for (const char* lon : {"18000.001", "99999.0", "01199.0"})
    expectDropped(nmea(gga("4807.038", "N", lon, "W", '1', 8)));
  expectDropped(nmea(gga("4807.038", "N", "01131.000", "E", '1', -3)));
  expectDropped(nmea(gga("4807.038", "N", "01131.000", "E", '1', 8, "-1.0")));
  expectDropped(nmea("GPGGA,1,4807.038,N,01131.000,E,1,08,0.9,99999999,M,46.9,M,,"));
  expectDropped(nmea("GPGSA,A,3,04,05,,09,12,,,24,,,,,-2.5,1.3,2.1"));
  // The edges themselves are positions.
  EXPECT_TRUE(feed(gga("9000.000", "S", "18000.000", "W", '1', 8)).handled);
  EXPECT_DOUBLE_EQ(d.position.latitude, -90.0);
  EXPECT_DOUBLE_EQ(d.position.longitude, -180.0);
  // Words where numbers belong count as 0: latitude 0 is on the equator.
  EXPECT_TRUE(feed(gga("nan", "N", "01131.000", "E", '1', 8)).handled);
  EXPECT_EQ(d.position.latitude, 0.0);
  EXPECT_TRUE(feed(gga("inf", "N", "1e3", "E", '1', 8)).handled);
  EXPECT_EQ(d.position.latitude, 0.0);  // both 0: the last position stays
  EXPECT_EQ(d.position.longitude, 11 + 31.0 / 60);
}

TEST_F(Handlers, VtgCourseOutsideTheCircleIsZeroAndSpeedIsInTheUnit) {
  feed("GPVTG,360.0,T,,M,0,N,16.0934443903,K");
  EXPECT_EQ(d.quality.course, 0.0);
  EXPECT_NEAR(d.quality.speed, 10.0, 1e-9);  // mph by default
  EXPECT_EQ(d.texts.course, "  0\u00B0T");
  EXPECT_EQ(d.texts.speed.substr(0, 7), " 10 mph");
  feed("GPVTG,-12.0,T,,M,0,N,0,K");
  EXPECT_EQ(d.quality.course, 0.0);
  feed("GPVTG,054.7,T,,M,0,N,100,K");
  EXPECT_DOUBLE_EQ(d.quality.course, 54.7);
  EXPECT_EQ(d.texts.cog, "COG:" + d.texts.course + " " + d.texts.speed);
  const double kmh = 100;
  struct Unit { int unit; double expected; };
  for (Unit u : {Unit{gps::kKph, kmh}, Unit{gps::kKnots, kmh * 1000 / 1853.321055986}, Unit{gps::kMps, kmh / 3.6},
                 Unit{gps::kFps, kmh / 3.6 * 3.280839}}) {
    d.parms.setVelocityUnit(u.unit);
    feed("GPVTG,054.7,T,,M,0,N,100,K");
    EXPECT_NEAR(d.quality.speed, u.expected, 1e-9) << u.unit;
  }
  EXPECT_TRUE(d.received.vtg);
}

TEST_F(Handlers, MagneticCourseAddsAWesterlyVariation) {
  d.parms.setBearingRef(gps::kMagneticBearing);
  // RMC: 10 degrees west is stored positive, east negative.
  feed("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,010.0,W");
  EXPECT_DOUBLE_EQ(d.parms.magneticVariation(), 10.0);
  EXPECT_DOUBLE_EQ(d.quality.magneticVariation, 10.0);
  feed("GPVTG,355.0,T,,M,0,N,0,K");
  EXPECT_DOUBLE_EQ(d.quality.course, 5.0);
  EXPECT_EQ(d.texts.course, "  5\u00B0M");
  feed("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,010.0,E");
  EXPECT_DOUBLE_EQ(d.parms.magneticVariation(), -10.0);
  feed("GPVTG,5.0,T,,M,0,N,0,K");
  EXPECT_DOUBLE_EQ(d.quality.course, 355.0);
  // No variation in the sentence: the user's value stays.
  d.parms.setMagneticVariation(3.5);
  feed("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,");
  feed("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,abc,W");
  feed("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,400,W");
  EXPECT_DOUBLE_EQ(d.parms.magneticVariation(), 3.5);
}

TEST_F(Handlers, GsaSetsModeAndPdop) {
  feed("GPGSA,M,2,04,05,,09,12,,,24,,,,,123.5,1.3,2.1");
  EXPECT_EQ(d.quality.fixMode, "M2D");
  EXPECT_EQ(d.texts.dimension, "M2D");
  EXPECT_DOUBLE_EQ(d.quality.pdop, 123.5);
  EXPECT_EQ(d.texts.pdop, "Pd:High");
  in.landscape = false;
  feed("GPGSA,A,3,04,05,,09,12,,,24,,,,,123.5,1.3,2.1");
  EXPECT_EQ(d.texts.pdop, "Pd:123");
  EXPECT_TRUE(d.received.gsa);
  // A GGA no longer zeroes the PDOP once a GSA was seen.
  feed(kFixGga);
  EXPECT_DOUBLE_EQ(d.quality.pdop, 123.5);
}

TEST_F(Handlers, ZdaSetsTheClockOnlyWithAFixAValidDateAndEveryTenSeconds) {
  EXPECT_FALSE(feed("GPZDA,201530.00,04,07,2024,00,00").setClock);  // no fix
  feed(kFixGga);
  const gps::DecodeEffects e = feed("GPZDA,201530.00,04,07,2024,00,00");
  ASSERT_TRUE(e.setClock);
  EXPECT_EQ(e.clockUtc.year, 2024);
  EXPECT_EQ(e.clockUtc.month, 7);
  EXPECT_EQ(e.clockUtc.day, 4);
  EXPECT_EQ(e.clockUtc.hour, 20);
  EXPECT_EQ(e.clockUtc.minute, 15);
  EXPECT_EQ(e.clockUtc.second, 30);
  EXPECT_EQ(e.clockUtc.dayOfWeek, 4);  // a Thursday
  // Within nine seconds of the last check nothing is asked.
  in.utcNow.second = 39;
  EXPECT_FALSE(feed("GPZDA,201530.00,04,07,2024,00,00").setClock);
  in.utcNow.second = 40;
  EXPECT_TRUE(feed("GPZDA,201560.00,04,07,2024,00,00").setClock);
  in.utcNow.second = 51;
  // The GPS agrees with the PC: nothing to set.
  const platform::DateTime& n = in.utcNow;
  char same[64];
  std::snprintf(same, sizeof same, "GPZDA,%02d%02d%02d,%02d,%02d,%04d,00,00", n.hour, n.minute, n.second, n.day, n.month,
                n.year);
  EXPECT_FALSE(feed(same).setClock);
  for (const char* bad : {"GPZDA,201530,04,13,2024", "GPZDA,201530,30,02,2024", "GPZDA,201530,29,02,2023",
                          "GPZDA,241530,04,07,2024", "GPZDA,206030,04,07,2024", "GPZDA,201530,04,07,1999",
                          "GPZDA,201530,00,07,2024", "GPZDA,201530,4.5,07,2024", "GPZDA,,,,"}) {
    in.utcNow.second = in.utcNow.second == 0 ? 30 : 0;  // far from the last check each time
    EXPECT_FALSE(feed(bad).setClock) << bad;
  }
  in.utcNow.second = 15;
  EXPECT_TRUE(feed("GPZDA,201530,29,02,2024").setClock);  // a leap day
}

TEST_F(Handlers, RmcBeforeAnyGgaShowsItsPositionAsOld) {
  EXPECT_TRUE(feed("GPRMC,081836,A,3751.65,S,14507.36,E,000.0,360.0,130998,011.3,E").handled);
  const gps::Position& p = d.position;
  EXPECT_EQ(p.statusText, "** OLD ** Waiting for Update");
  EXPECT_NEAR(p.latitude, -(37 + 51.65 / 60), 1e-12);
  EXPECT_NEAR(p.longitude, 145 + 7.36 / 60, 1e-12);
  EXPECT_EQ(p.heightEllipsoid, 0.0);
  EXPECT_EQ(p.utcTimeText, "08:18:36");
  EXPECT_EQ(p.utcDateText, "03/05/2024");
  EXPECT_EQ(p.valid, 0);
  EXPECT_FALSE(p.latitudeText.empty());
  EXPECT_TRUE(d.received.rmc);
  feed("GPRMC,081836,A,0000.00,N,00000.00,E,000.0,360.0,130998,011.3,E");
  EXPECT_DOUBLE_EQ(p.latitude, gps::kDefaultLatitude);
  // After a GGA, RMC gives only the variation.
  feed(kFixGga);
  feed("GPRMC,081836,A,3751.65,S,14507.36,E,000.0,360.0,130998,011.3,E");
  EXPECT_NEAR(p.latitude, 48 + 7.038 / 60, 1e-12);
  EXPECT_EQ(p.statusText, "");
}

TEST_F(Handlers, StatusWarningShowsTheFirstFailingFilter) {
  gps::GpsParms& parms = d.parms;
  parms.setRequireDgps(true);
  parms.setRequire3d(true);
  parms.setMaxPdop(6);
  parms.setMaxHdop(4);
  parms.setMinSatellites(5);
  feed("GPGSA,A,2,04,05,,09,12,,,24,,,,,8.0,1.3,2.1");
  feed(gga("4807.038", "N", "01131.000", "E", '1', 3, "5.0"));
  const gps::Position& p = d.position;
  EXPECT_EQ(p.statusText, "Warning ! DGPS Not Available  ");
  EXPECT_EQ(p.warning, 1);
  EXPECT_EQ(p.old, 1);
  EXPECT_EQ(p.valid, 1);
  struct Step { void (*relax)(gps::GpsParms&); const char* next; };
  const Step steps[] = {
      {[](gps::GpsParms& q) { q.setRequireDgps(false); }, "Warning ! 2D Positions Only   "},
      {[](gps::GpsParms& q) { q.setRequire3d(false); }, "Warning ! Max PDOP Exceeded   "},
      {[](gps::GpsParms& q) { q.setMaxPdop(8); }, "Warning ! Max HDOP Exceeded   "},
      {[](gps::GpsParms& q) { q.setMaxHdop(5); }, "Warning ! Too Few Satellites  "},
      {[](gps::GpsParms& q) { q.setMinSatellites(3); }, ""},
  };
  for (const Step& s : steps) {
    s.relax(parms);
    feed("GPVTG,054.7,T,,M,0,N,0,K");
    EXPECT_EQ(p.statusText, s.next);
  }
  EXPECT_EQ(p.warning, 0);
  EXPECT_EQ(p.old, 0);
}

}  // namespace

#include "gps/fix_quality.hpp"

#include <gtest/gtest.h>

#include "gps/nmea.hpp"

namespace {

namespace al = apps::layout::app_ctl;
using gps::GpsData;
using gps::GpsParms;

// A fix that passes every limit used below.
GpsData goodFix() {
  GpsData d;
  d.quality.dgps = 1.0;
  d.quality.fixMode = "A3D";
  d.quality.pdop = 2;
  d.quality.hdop = 1;
  d.quality.satellites = 8;
  d.position.valid = 1;
  return d;
}

apps::AppCtl appLimits(bool useFilters, bool dgps, bool threeD, int sats, int dop) {
  apps::AppCtl app;
  app.setGpsLimit(al::kGpsUseFilters, useFilters ? 1 : 0);
  app.setGpsLimit(al::kGpsRequireDgps, dgps ? 1 : 0);
  app.setGpsLimit(al::kGpsRequire3d, threeD ? 1 : 0);
  app.setGpsLimit(al::kGpsMinSatellites, static_cast<std::int16_t>(sats));
  app.setGpsLimit(al::kGpsMaxDop, static_cast<std::int16_t>(dop));
  return app;
}

std::string padded(const std::string& s) { return s + std::string(48 - s.size(), ' '); }

TEST(LoggingLimits, TheApplicationsOwnLimitsWhenItDoesNotUseTheFilters) {
  GpsParms parms;
  parms.setLogDuringWarnings(true);  // belongs to the filters: ignored here
  const gps::LogLimits l = gps::loggingLimits(appLimits(false, true, false, 5, 7), parms);
  EXPECT_TRUE(l.testOn);
  EXPECT_TRUE(l.requireDgps);
  EXPECT_FALSE(l.require3d);
  EXPECT_EQ(l.minSatellites, 5);
  EXPECT_EQ(l.maxDop, 7);
}

TEST(LoggingLimits, TheFiltersGiveOneRoundedDopLimitAndLogDuringWarningsTurnsTheTestOff) {
  GpsParms parms;
  parms.setRequireDgps(true);
  parms.setRequire3d(false);
  parms.setMinSatellites(6);
  parms.setMaxPdop(6);
  parms.setMaxHdop(4);
  const apps::AppCtl app = appLimits(true, false, true, 1, 30);
  gps::LogLimits l = gps::loggingLimits(app, parms);
  EXPECT_TRUE(l.testOn);
  EXPECT_TRUE(l.requireDgps);
  EXPECT_FALSE(l.require3d);
  EXPECT_EQ(l.minSatellites, 6);
  EXPECT_EQ(l.maxDop, 6);
  // Both PDOP and HDOP are held to 6.
  GpsData fix = goodFix();
  fix.quality.hdop = 5.5;
  EXPECT_EQ(gps::acceptFix(l, fix), "");
  fix.quality.hdop = 6.5;
  EXPECT_EQ(gps::acceptFix(l, fix), padded("DOP Too High"));

  parms.setMaxPdop(3.4);
  parms.setMaxHdop(4.5);
  EXPECT_EQ(gps::loggingLimits(app, parms).maxDop, 5);  // 4.5 rounds up

  parms.setLogDuringWarnings(true);
  l = gps::loggingLimits(app, parms);
  EXPECT_FALSE(l.testOn);
  fix.quality.dgps = 0;
  fix.quality.satellites = 0;
  EXPECT_EQ(gps::acceptFix(l, fix), "");
}

TEST(AcceptFix, EachCheckNamesItsFailureAndTheLastFailingOneIsShown) {
  const gps::LogLimits l{true, true, true, 4, 5};
  EXPECT_EQ(gps::acceptFix(l, goodFix()), "");
  struct Case {
    void (*spoil)(GpsData&);
    const char* text;
  };
  for (const Case& c : {Case{[](GpsData& d) { d.quality.dgps = 0; }, "DGPS Not Available"},
                        Case{[](GpsData& d) { d.quality.fixMode = "A2D"; }, "3D Positions Not Available"},
                        Case{[](GpsData& d) { d.quality.fixMode.clear(); }, "3D Positions Not Available"},
                        Case{[](GpsData& d) { d.quality.pdop = 5.01; }, "DOP Too High"},
                        Case{[](GpsData& d) { d.quality.hdop = 9; }, "DOP Too High"},
                        Case{[](GpsData& d) { d.quality.satellites = 3; }, "Too Few Satellites"}}) {
    SCOPED_TRACE(c.text);
    GpsData fix = goodFix();
    c.spoil(fix);
    const std::string msg = gps::acceptFix(l, fix);
    EXPECT_EQ(msg, padded(c.text));
  }
  // Limits met exactly pass.
  GpsData edge = goodFix();
  edge.quality.pdop = edge.quality.hdop = 5;
  edge.quality.satellites = 4;
  EXPECT_EQ(gps::acceptFix(l, edge), "");
  // Everything failing: the satellites, checked last, are named.
  GpsData bad;
  EXPECT_EQ(gps::acceptFix({true, true, true, 4, 0.5}, bad), padded("Too Few Satellites"));
}

TEST(AcceptFix, A2dFixWithoutCorrectionShowsTheDgpsWarningButLogsTheDimension) {
  GpsData fix = goodFix();
  fix.quality.dgps = 0;
  fix.quality.fixMode = "A2D";
  fix.parms.setRequireDgps(true);
  fix.parms.setRequire3d(true);
  gps::statusWarning(fix);
  EXPECT_EQ(fix.position.statusText.rfind("Warning ! DGPS Not Available", 0), 0u);
  EXPECT_EQ(gps::acceptFix(gps::loggingLimits(appLimits(true, false, false, 0, 0), fix.parms), fix),
            padded("3D Positions Not Available"));
}

TEST(AveragingCheck, TheWarningFiltersUnlessWarningsAreAllowed) {
  GpsParms parms;
  parms.setRequireDgps(true);
  parms.setRequire3d(true);
  parms.setMinSatellites(5);
  parms.setMaxPdop(6);
  parms.setMaxHdop(2);
  const apps::AppCtl app = appLimits(true, false, false, 0, 99);
  EXPECT_EQ(gps::averagingCheck(app, parms, goodFix()), gps::kCollectingFixes);
  GpsData fix = goodFix();
  fix.quality.dgps = 0;
  EXPECT_EQ(gps::averagingCheck(app, parms, fix), "DGPS Not Available");
  fix.quality.fixMode = "A2D";
  EXPECT_EQ(gps::averagingCheck(app, parms, fix), "Position Not 3D");
  fix = goodFix();
  fix.quality.hdop = 3;  // PDOP and HDOP keep their own limits here
  EXPECT_EQ(gps::averagingCheck(app, parms, fix), "DOP Too High");
  fix.quality.satellites = 4;
  EXPECT_EQ(gps::averagingCheck(app, parms, fix), "Too Few Satelittes");
  parms.setLogDuringWarnings(true);
  EXPECT_EQ(gps::averagingCheck(app, parms, fix), gps::kCollectingFixes);
}

TEST(AveragingCheck, TheApplicationsLimitsApplyOnlyUnderABlankStatus) {
  GpsParms parms;
  parms.setMaxPdop(50);
  parms.setMaxHdop(50);
  const apps::AppCtl app = appLimits(false, false, false, 4, 3);
  GpsData fix = goodFix();
  fix.quality.pdop = 4;  // the one DOP limit holds PDOP too
  fix.position.statusText = std::string(30, ' ');
  EXPECT_EQ(gps::averagingCheck(app, parms, fix), "DOP Too High");
  fix.position.statusText = "Warning ! Too Few Satellites";
  EXPECT_EQ(gps::averagingCheck(app, parms, fix), gps::kCollectingFixes);
}

TEST(PointAverage, AveragesTheFixesAndStopsWhenNoneAreLeft) {
  gps::PointAverage a;
  a.start(0, 0, 0, 3);
  EXPECT_TRUE(a.add(10, 20, 100));
  EXPECT_TRUE(a.add(12, 22, 110));
  EXPECT_EQ(a.positionsLeft(), 1);
  EXPECT_FALSE(a.finished());
  EXPECT_TRUE(a.add(14, 24, 120));
  EXPECT_DOUBLE_EQ(a.latitude(), 12);
  EXPECT_DOUBLE_EQ(a.longitude(), 22);
  EXPECT_DOUBLE_EQ(a.height(), 110);
  EXPECT_TRUE(a.finished());
  EXPECT_FALSE(a.add(0, 0, 0));  // nothing more is taken
  EXPECT_DOUBLE_EQ(a.latitude(), 12);
  a.start(1, 2, 3, 0);  // never a count that cannot end
  EXPECT_EQ(a.positionsLeft(), 1);
}

TEST(PointAverage, RestartSeedsTheSumsWithThePositionAndHoldsTheCount) {
  gps::PointAverage a;
  a.restart(10, 20, 30, 0);
  EXPECT_EQ(a.positionsLeft(), 1);
  EXPECT_EQ(a.accepted(), 0);
  EXPECT_TRUE(a.add(12, 24, 40));
  EXPECT_DOUBLE_EQ(a.latitude(), 11);  // the seed counts once
  EXPECT_DOUBLE_EQ(a.height(), 35);
  a.restart(10, 20, 30, 900);
  EXPECT_EQ(a.positionsLeft(), 500);
  a.stop();
  EXPECT_FALSE(a.wantsFix());
  EXPECT_FALSE(a.finished());
}

}  // namespace

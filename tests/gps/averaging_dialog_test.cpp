#include "gps/averaging_dialog.hpp"

#include <gtest/gtest.h>

#include "gps/coordinate_text.hpp"
#include "gps/parms.hpp"
#include "platform/files.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "ui/form_state.hpp"

namespace {

namespace al = apps::layout::app_ctl;
using gps::GpsData;
using testing_support::ScriptedHost;

class AveragingDialog : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  ScriptedHost host;
  const char sep = platform::kSep;
  std::string root = dir.path();
  gps::GpsState gps;
  apps::AppCtl app;
  gps::AveragedPoint out;
  std::uint64_t now = 0;

  void SetUp() override {
    // The live state shows heights above sea level and a current position.
    gps.withLock([](GpsData& d) {
      d.parms.setElevationRef(gps::kMsl);
      d.parms.setUnitOfMeasure(gps::kMetric);
      d.position.valid = 1;
      d.position.latitude = 45.0;
      d.position.longitude = -110.0;
      d.position.heightEllipsoid = 1000.0;
      d.position.altitudeMsl = 980.0;
      gps::formatPosition(d.position, d.parms);
    });
    storeParms(false);
    app.setGpsLimit(al::kGpsMaxDop, 10);  // the application's limits: DOP 10, nothing else
  }

  void storeParms(bool autoStore, bool requireDgps = false) {
    gps::GpsParms p;
    p.setUnitOfMeasure(gps::kMetric);
    p.setCoordinateFormat(gps::kDecimalDeg);
    p.setElevationRef(gps::kMsl);
    p.setAutoStore(autoStore);
    p.setRequireDgps(requireDgps);
    p.setRequire3d(true);
    p.setMinSatellites(4);
    ASSERT_EQ(gps::writeGpsParms(host, root, p, sep), 1);
  }
  gps::GpsParms fileParms() {
    gps::GpsParms p;
    EXPECT_EQ(gps::readGpsParms(host, root, p, sep), 1);
    return p;
  }
  // A new fix from the receiver; good when it has correction, 3D and satellites.
  void newFix(double lat, double lon, double height, bool good = true) {
    gps.withLock([&](GpsData& d) {
      d.position.latitude = lat;
      d.position.longitude = lon;
      d.position.heightEllipsoid = height;
      d.quality.dgps = good ? 1.0 : 0.0;
      d.quality.fixMode = "A3D";
      d.quality.satellites = 7;
      d.quality.pdop = 2;
      d.quality.hdop = 1;
      d.newFix[gps::kAveragingFix] = 1;
    });
  }
  void tick(ui::FormState& f) { f.tick(now += gps::kAveragingTickMs); }
  void useFilters() { app.setGpsLimit(al::kGpsUseFilters, 1); }
  int elevationRef() { return gps.withLock([](GpsData& d) { return d.parms.elevationRef(); }); }
  int run(int positions, bool allowUnfinished) {
    return gps::averagingDialog(host, root, sep, gps, app, positions, allowUnfinished, out);
  }
};

TEST_F(AveragingDialog, OpensOnTheCurrentPositionInHeightsAboveTheEllipsoid) {
  host.onForm(gps::kAveragingDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "Averaging Points");
    EXPECT_EQ(f.text(gps::kAverageLatitudeText), gps::coordinateTexts(45.0, -110.0, gps::kDecimalDeg).latitude);
    EXPECT_EQ(f.text(gps::kAverageElevationText), gps::elevationText(1000.0, true));
    EXPECT_EQ(f.text(gps::kPointsLeftEntry), "5");
    EXPECT_EQ(f.text(gps::kAverageMessageText), "Please Wait - Averaging Points");
    EXPECT_FALSE(f.checked(gps::kAutoStoreCheck));
    EXPECT_EQ(elevationRef(), gps::kHae);
    // The live position's texts follow the reference too.
    EXPECT_EQ(gps.snapshot().position.elevationText, gps::elevationText(1000.0, true));
    gps.withLock([](GpsData& d) { d.position.statusText = "Warning ! Too Few Satellites  "; });
    tick(f);
    EXPECT_EQ(f.text(gps::kAverageStatusText), "Warning ! Too Few Satellites  ");
    gps.withLock([](GpsData& d) { d.position.statusText = std::string(30, ' '); });
    tick(f);  // a blank status leaves the last one shown
    EXPECT_EQ(f.text(gps::kAverageStatusText), "Warning ! Too Few Satellites  ");
    f.press(ui::kIdCancelButton);
  });
  out.latitudeText = "untouched";
  EXPECT_EQ(run(5, false), 0);
  EXPECT_EQ(out.latitudeText, "untouched");
  EXPECT_EQ(elevationRef(), gps::kMsl);
  EXPECT_EQ(gps.snapshot().position.elevationText, gps::elevationText(980.0, true));
}

TEST_F(AveragingDialog, OneAcceptedFixIsStoredExactlyWithTheAutoStoreChoice) {
  host.onForm(gps::kAveragingDialog, [&](ui::FormState& f) {
    tick(f);  // no new fix: nothing changes
    EXPECT_EQ(f.text(gps::kPointsLeftEntry), "1");
    newFix(44.123456789, -111.987654321, 1234.5);
    tick(f);
    EXPECT_EQ(f.text(gps::kAverageFixText), "Collecting Fixes");
    EXPECT_EQ(f.text(gps::kPointsLeftEntry), "0");
    EXPECT_EQ(f.text(gps::kAverageMessageText), "Averaging Complete - Press OK to Store");
    EXPECT_FALSE(f.ended());
    newFix(10, 10, 10);
    tick(f);  // averaging is over: later fixes are left alone
    EXPECT_EQ(gps.snapshot().newFix[gps::kAveragingFix], 1);
    f.press(gps::kAutoStoreCheck);
    f.press(ui::kIdOkButton);
  });
  ASSERT_EQ(run(1, false), 1);
  EXPECT_EQ(out.latitude, 44.123456789);
  EXPECT_EQ(out.longitude, -111.987654321);
  EXPECT_EQ(out.heightEllipsoid, 1234.5);
  const gps::CoordinateTexts t = gps::coordinateTexts(44.123456789, -111.987654321, gps::kDecimalDeg);
  EXPECT_EQ(out.latitudeText, t.latitude);
  EXPECT_EQ(out.longitudeText, t.longitude);
  EXPECT_EQ(out.elevationText, gps::elevationText(1234.5, true));
  const gps::GpsParms p = fileParms();
  EXPECT_TRUE(p.autoStore());
  EXPECT_TRUE(p.elevationMsl());  // the file keeps the user's reference
  EXPECT_EQ(elevationRef(), gps::kMsl);
}

TEST_F(AveragingDialog, AutoStoreStoresTheMeanAsSoonAsTheLastFixIsTaken) {
  storeParms(true, true);
  useFilters();
  host.onForm(gps::kAveragingDialog, [&](ui::FormState& f) {
    EXPECT_TRUE(f.checked(gps::kAutoStoreCheck));
    newFix(40, -100, 100);
    tick(f);
    newFix(50, -90, 300, false);  // no correction: skipped
    tick(f);
    EXPECT_EQ(f.text(gps::kAverageFixText), "DGPS Not Available");
    EXPECT_EQ(f.text(gps::kPointsLeftEntry), "1");
    EXPECT_FALSE(f.ended());
    newFix(42, -102, 200);
    tick(f);
    EXPECT_TRUE(f.ended());
  });
  ASSERT_EQ(run(2, false), 1);
  EXPECT_DOUBLE_EQ(out.latitude, 41);
  EXPECT_DOUBLE_EQ(out.longitude, -101);
  EXPECT_DOUBLE_EQ(out.heightEllipsoid, 150);
  EXPECT_EQ(elevationRef(), gps::kMsl);
}

TEST_F(AveragingDialog, TheApplicationsLimitsSkipAFixOnlyWhileTheStatusIsBlank) {
  host.onForm(gps::kAveragingDialog, [&](ui::FormState& f) {
    newFix(40, -100, 100);
    gps.withLock([](GpsData& d) { d.quality.hdop = 11; });
    tick(f);
    EXPECT_EQ(f.text(gps::kAverageFixText), "DOP Too High");
    EXPECT_EQ(f.text(gps::kPointsLeftEntry), "2");
    newFix(40, -100, 100);
    gps.withLock([](GpsData& d) {
      d.quality.hdop = 11;
      d.position.statusText = "Warning ! Max HDOP Exceeded   ";
    });
    tick(f);  // taken unchecked under a status text
    EXPECT_EQ(f.text(gps::kPointsLeftEntry), "1");
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(run(2, false), 0);
}

TEST_F(AveragingDialog, OkBeforeTheCountIsReachedFollowsTheLevelsRule) {
  // Not allowed: the stop box, and the dialog stays.
  host.expect("Must Wait Until Finished.", ui::kIdOk, "Averaging Points");
  host.onForm(gps::kAveragingDialog, [&](ui::FormState& f) {
    newFix(40, -100, 100);
    tick(f);
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(run(3, false), 0);
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].text, "WayPoint Not\nFinished Averaging !\nMust Wait Until Finished.");
  EXPECT_EQ(host.shown()[0].flags & ui::kMbIconMask, ui::kMbIconStop);

  // Allowed: No keeps the dialog, Yes stores what was averaged so far.
  host.clearShown();
  host.expectOnce("Use Anyway?", ui::kIdNo).expectOnce("Use Anyway?", ui::kIdYes);
  host.onForm(gps::kAveragingDialog, [&](ui::FormState& f) {
    newFix(40, -100, 100);
    tick(f);
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    f.press(ui::kIdOkButton);
  });
  ASSERT_EQ(run(3, true), 1);
  EXPECT_EQ(host.countText("Use Anyway?"), 2);
  EXPECT_EQ(out.latitude, 40);
}

TEST_F(AveragingDialog, NothingIsStoredUntilAFixHasBeenAveraged) {
  host.expect("Use Anyway?", ui::kIdYes).expect("No Fixes Averaged", ui::kIdOk, "Averaging Points");
  host.onForm(gps::kAveragingDialog, [&](ui::FormState& f) {
    f.press(ui::kIdOkButton);  // only the start position so far
    EXPECT_FALSE(f.ended());
    f.press(gps::kRestartButton);
    f.press(ui::kIdOkButton);  // a restart seeds the position but averages nothing
    EXPECT_FALSE(f.ended());
    newFix(41, -101, 50);
    tick(f);
    f.press(ui::kIdOkButton);
  });
  ASSERT_EQ(run(1, true), 1);
  EXPECT_EQ(host.countText("No Fixes Averaged"), 2);
  EXPECT_EQ(host.countText("Use Anyway?"), 2);  // asked first, as for any unfinished average
  // The restart's seed (the position then) averages with the fix.
  EXPECT_DOUBLE_EQ(out.latitude, 43);
  EXPECT_DOUBLE_EQ(out.heightEllipsoid, 525);
}

TEST_F(AveragingDialog, RestartHoldsTheTypedCountAndRefusesAnUnreadableOne) {
  host.expect("Can't Read Requested Times", ui::kIdOk, "Error");
  host.onForm(gps::kAveragingDialog, [&](ui::FormState& f) {
    f.type(gps::kPointsLeftEntry, "0");
    f.press(gps::kRestartButton);
    EXPECT_EQ(f.text(gps::kPointsLeftEntry), "1");
    f.type(gps::kPointsLeftEntry, "900");
    f.press(gps::kRestartButton);
    EXPECT_EQ(f.text(gps::kPointsLeftEntry), "500");
    newFix(40, -100, 100);
    tick(f);
    EXPECT_EQ(f.text(gps::kPointsLeftEntry), "499");
    f.press(gps::kRestartButton);  // the field untouched: the level's count again
    EXPECT_EQ(f.text(gps::kPointsLeftEntry), "7");
    EXPECT_EQ(f.text(gps::kAverageMessageText), "Please Wait - Averaging Points");
    f.type(gps::kPointsLeftEntry, "x");
    f.press(gps::kRestartButton);
    EXPECT_EQ(host.countText("Can't Read Requested Times"), 1);
    newFix(41, -101, 100);
    tick(f);  // averaging stopped: the fix waits untaken
    EXPECT_EQ(gps.snapshot().newFix[gps::kAveragingFix], 1);
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(run(7, false), 0);
}

TEST_F(AveragingDialog, CancelStoresNothingAndLeavesTheFile) {
  storeParms(true);
  const std::string before = testing_support::readBytes(gps::gpsSettingsPath(root, gps::kParmsFileName, sep));
  host.onForm(gps::kAveragingDialog, [&](ui::FormState& f) {
    newFix(40, -100, 100);
    tick(f);
    f.press(gps::kAutoStoreCheck);
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(run(3, true), 0);
  EXPECT_EQ(out.latitude, 0);
  EXPECT_EQ(testing_support::readBytes(gps::gpsSettingsPath(root, gps::kParmsFileName, sep)), before);
  EXPECT_EQ(elevationRef(), gps::kMsl);
}

}  // namespace

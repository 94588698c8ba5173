#include <gtest/gtest.h>

#include "gps/capture_dialog.hpp"
#include "gps/coordinate_text.hpp"
#include "gps/log_waypoint.hpp"
#include "gps/waypoint_table.hpp"
#include "platform/fileops.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "ui/form_state.hpp"

namespace {

using gps::GpsData;
using testing_support::ScriptedHost;

class LogWaypoint : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  ScriptedHost host;
  gps::GpsState gps;
  platform::DateTime now{2024, 3, 7, 9, 5, 2};
  int redraws = 0;
  std::uint64_t ms = 0;

  void SetUp() override {
    gps.withLock([](GpsData& d) { d.parms.setCoordinateFormat(gps::kDecimalDeg); });
    fix(45.0, -110.0);
  }
  // A GGA handled by the receiver: the position and every consumer's flag.
  void fix(double lat, double lon, bool valid = true) {
    gps.withLock([&](GpsData& d) {
      d.position.valid = valid ? 1 : 0;
      d.position.latitude = lat;
      d.position.longitude = lon;
      for (int& flag : d.newFix) flag = 1;
    });
  }
  int log(bool enabled = true, bool detected = true) {
    return gps::logWaypoint(host, dir.path(), platform::kSep, enabled, detected, gps, now, [this] { ++redraws; });
  }
  void tick(ui::FormState& f) { f.tick(ms += gps::kCaptureTickMs); }
  std::string path() const { return dir.file("Waypoints.dbf"); }
  std::vector<gps::WaypointEntry> stored() const {
    auto list = gps::loadWaypointList(path());
    list.erase(list.begin());
    return list;
  }
  static std::string latText(double lat) { return gps::coordinateTexts(lat, 0, gps::kDecimalDeg).latitude; }
  static std::string lonText(double lon) { return gps::coordinateTexts(0, lon, gps::kDecimalDeg).longitude; }
};

TEST_F(LogWaypoint, IsRefusedWithoutGpsOrWithoutAFixAndWritesNothing) {
  host.expect("GPS Not Enabled", ui::kIdOk, "Error");
  host.expect("GPS Not Detected", ui::kIdOk, "Error");
  EXPECT_EQ(log(false, true), 0);
  EXPECT_EQ(log(true, false), 0);  // a silent receiver
  fix(45.0, -110.0, false);
  EXPECT_EQ(log(true, true), 0);  // sentences arrive but no fix yet
  EXPECT_EQ(host.countText("GPS Not Detected"), 2);
  EXPECT_EQ(host.shown()[0].flags & ui::kMbTopmost, ui::kMbTopmost);
  EXPECT_TRUE(host.forms().empty());
  EXPECT_FALSE(platform::fileExists(path()));
}

TEST_F(LogWaypoint, StoresTheNamedCurrentPositionAndBeeps) {
  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "Capture Waypoint");
    EXPECT_EQ(f.text(gps::kWaypointNameEntry), "03/07/2024 09:05:02 ");
    EXPECT_EQ(f.focus(), gps::kWaypointNameEntry);
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), latText(45.0));
    EXPECT_EQ(f.text(gps::kWaypointLongitudeText), lonText(-110.0));
    EXPECT_EQ(f.text(gps::kPositionsLeftEntry), "60");
    EXPECT_EQ(f.form().find(gps::kRecaptureButton)->text, "Re-Capture");
    EXPECT_FALSE(f.checked(gps::kAverageToggle));
    fix(45.25, -110.5);
    tick(f);  // not averaging: the shown position stays
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), latText(45.0));
    f.press(gps::kRecaptureButton);
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), latText(45.25));
    f.type(gps::kWaypointNameEntry, "123456789012345678901234567890");
    EXPECT_EQ(f.text(gps::kWaypointNameEntry), "1234567890123456789012345");
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(log(), 1);
  EXPECT_EQ(host.beeps(), 1);
  EXPECT_EQ(redraws, 1);
  const auto list = stored();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, "1234567890123456789012345");
  EXPECT_DOUBLE_EQ(list[0].latitude, 45.25);
  EXPECT_DOUBLE_EQ(list[0].longitude, -110.5);

  // A second waypoint joins the same table.
  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) { f.press(ui::kIdOkButton); });
  EXPECT_EQ(log(), 1);
  ASSERT_EQ(stored().size(), 2u);
  EXPECT_EQ(stored()[1].name, "03/07/2024 09:05:02");
}

TEST_F(LogWaypoint, ABlankNameIsRefusedAndCancelAborts) {
  host.expect("WayPoint Name Required !", ui::kIdOk, "Capture Waypoint");
  host.expect("WayPoint Log Aborted");
  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) {
    f.type(gps::kWaypointNameEntry, "   ");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    EXPECT_TRUE(host.sawText("WayPoint Name Required !"));
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(log(), 0);
  EXPECT_TRUE(host.sawText("WayPoint Log Aborted"));
  EXPECT_EQ(redraws, 1);
  EXPECT_EQ(host.beeps(), 0);
  EXPECT_FALSE(platform::fileExists(path()));
}

TEST_F(LogWaypoint, AWaypointThatCannotBeWrittenIsNotReportedAsCaptured) {
  ASSERT_TRUE(platform::makeFolder(path()));  // a folder where the table belongs
  host.expect("WayPoint NOT Captured !");
  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) { f.press(ui::kIdOkButton); });
  EXPECT_EQ(log(), 0);
  EXPECT_TRUE(host.sawText("WayPoint NOT Captured !"));
  EXPECT_EQ(host.beeps(), 0);
}

TEST_F(LogWaypoint, AveragingFiveFixesStoresTheMeanOfSixPositions) {
  const double lats[] = {45.1, 45.2, 45.3, 45.4, 45.5}, lons[] = {-110.1, -110.2, -110.3, -110.4, -110.6};
  const double meanLat = (45.0 + 45.1 + 45.2 + 45.3 + 45.4 + 45.5) / 6;
  const double meanLon = (-110.0 - 110.1 - 110.2 - 110.3 - 110.4 - 110.6) / 6;
  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) {
    f.type(gps::kPositionsLeftEntry, "5");
    f.press(gps::kAverageToggle);
    EXPECT_TRUE(f.checked(gps::kAverageToggle));
    for (int i = 0; i < 5; ++i) {
      fix(lats[i], lons[i]);
      tick(f);
      EXPECT_EQ(f.text(gps::kPositionsLeftEntry), std::to_string(4 - i));
    }
    EXPECT_FALSE(f.checked(gps::kAverageToggle));  // finished
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), latText(meanLat));
    EXPECT_EQ(f.text(gps::kWaypointLongitudeText), lonText(meanLon));
    fix(50, 50);
    tick(f);  // later fixes are left alone
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), latText(meanLat));
    f.press(ui::kIdOkButton);  // no question: averaging is over
  });
  EXPECT_EQ(log(), 1);
  const auto list = stored();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_NEAR(list[0].latitude, meanLat, 1e-8);
  EXPECT_NEAR(list[0].longitude, meanLon, 1e-8);
}

TEST_F(LogWaypoint, OnlyNewValidFixesJoinTheAverage) {
  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) {
    fix(45.0, -110.0);  // handled before averaging starts: not counted again
    f.type(gps::kPositionsLeftEntry, "2");
    f.press(gps::kAverageToggle);
    tick(f);
    EXPECT_EQ(f.text(gps::kPositionsLeftEntry), "2");
    fix(80, 80, false);  // a fix the receiver calls invalid
    tick(f);
    EXPECT_EQ(f.text(gps::kPositionsLeftEntry), "2");
    fix(46.0, -111.0);
    tick(f);
    EXPECT_EQ(f.text(gps::kPositionsLeftEntry), "1");
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), latText(45.5));
    tick(f);  // no new fix since the last tick
    EXPECT_EQ(f.text(gps::kPositionsLeftEntry), "1");
    f.press(ui::kIdOkButton);
  });
  host.expectOnce("WayPoint Not\nFinished Averaging !\nUse Anyway?", ui::kIdYes, "Capture Waypoint");
  EXPECT_EQ(log(), 1);
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_DOUBLE_EQ(stored()[0].latitude, 45.5);
  EXPECT_DOUBLE_EQ(stored()[0].longitude, -110.5);
}

TEST_F(LogWaypoint, NoToAnUnfinishedAverageKeepsTheDialogAveraging) {
  host.expectOnce("Use Anyway?", ui::kIdNo);
  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) {
    f.type(gps::kPositionsLeftEntry, "3");
    f.press(gps::kAverageToggle);
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    fix(47.0, -112.0);
    tick(f);
    EXPECT_EQ(f.text(gps::kPositionsLeftEntry), "2");
    // Re-Capture ends averaging and takes the fix as it stands.
    f.press(gps::kRecaptureButton);
    EXPECT_FALSE(f.checked(gps::kAverageToggle));
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), latText(47.0));
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(log(), 1);
  EXPECT_DOUBLE_EQ(stored()[0].latitude, 47.0);
}

TEST_F(LogWaypoint, TheRequestedCountIsReadAndHeldBetweenOneAndFiveHundred) {
  host.expect("Can't Read Requested Times", ui::kIdOk, "Error");
  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) {
    f.type(gps::kPositionsLeftEntry, "ab");
    f.press(gps::kAverageToggle);
    EXPECT_FALSE(f.checked(gps::kAverageToggle));
    EXPECT_TRUE(host.sawText("Can't Read Requested Times"));
    fix(60, 60);
    tick(f);
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), latText(45.0));  // averaging stayed off
    f.type(gps::kPositionsLeftEntry, "900");
    f.press(gps::kAverageToggle);
    EXPECT_EQ(f.text(gps::kPositionsLeftEntry), "500");
    f.press(gps::kAverageToggle);  // off again
    EXPECT_FALSE(f.checked(gps::kAverageToggle));
    f.type(gps::kPositionsLeftEntry, "0");
    f.press(gps::kAverageToggle);
    EXPECT_EQ(f.text(gps::kPositionsLeftEntry), "1");
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), latText(60));  // the start is the current fix
    f.press(ui::kIdCancelButton);
  });
  host.expect("WayPoint Log Aborted");
  EXPECT_EQ(log(), 0);
}

TEST_F(LogWaypoint, LosingTheFixKeepsWhatIsShownAndBeeps) {
  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) {
    fix(30, 30, false);
    f.press(gps::kRecaptureButton);
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), latText(45.0));
    f.press(gps::kAverageToggle);
    EXPECT_FALSE(f.checked(gps::kAverageToggle));
    EXPECT_EQ(host.beeps(), 2);
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(log(), 1);
  EXPECT_DOUBLE_EQ(stored()[0].latitude, 45.0);
}

TEST(CaptureDialog, TheBrowserFormShowsPlainDegreesAndReadsBackWhatWasTyped) {
  ScriptedHost host;
  gps::GpsState gps;
  gps::CaptureSetup setup;
  setup.mode = gps::CaptureMode::kBrowser;
  setup.gpsEnabled = false;
  gps::WaypointRecord w{"Old name", 12.5, -7.125};
  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.form().find(gps::kRecaptureButton)->text, "Capture GPS");
    EXPECT_EQ(f.text(gps::kWaypointNameEntry), "Old name");
    EXPECT_EQ(f.text(gps::kWaypointLatitudeText), "   12.50000000");
    EXPECT_EQ(f.text(gps::kWaypointLongitudeText), "   -7.12500000");
    f.press(gps::kRecaptureButton);  // GPS off: nothing to capture
    EXPECT_EQ(host.beeps(), 1);
    f.type(gps::kWaypointLatitudeText, " 44.75");
    f.type(gps::kWaypointLongitudeText, "-100.5");
    f.type(gps::kWaypointNameEntry, "Caf\xc3\xa9");
    f.press(ui::kIdOkButton);
  });
  ASSERT_EQ(gps::captureWaypoint(host, gps, setup, w), 1);
  EXPECT_EQ(w.name, "Caf\xe9");  // 8-bit
  EXPECT_DOUBLE_EQ(w.latitude, 44.75);
  EXPECT_DOUBLE_EQ(w.longitude, -100.5);

  host.onForm(gps::kCaptureDialog, [&](ui::FormState& f) {
    f.type(gps::kWaypointNameEntry, "changed");
    f.press(ui::kIdCancelButton);
  });
  ASSERT_EQ(gps::captureWaypoint(host, gps, setup, w), 0);
  EXPECT_EQ(w.name, "Caf\xe9");  // untouched
}

}  // namespace

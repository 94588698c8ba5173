#include "gps/waypoint_browser.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include "gps/capture_dialog.hpp"
#include "gps/waypoint_table.hpp"
#include "platform/fileops.hpp"
#include "support/dbfread.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "ui/form_state.hpp"

namespace {

using gps::GpsData;
using testing_support::ScriptedHost;

class WaypointBrowser : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  ScriptedHost host;
  gps::GpsState gps;
  int redraws = 0;

  std::string path() const { return dir.file("Waypoints.dbf"); }
  int browse(bool gpsEnabled = false) {
    return gps::editWaypoints(host, dir.path(), platform::kSep, gpsEnabled, gps, [this] { ++redraws; });
  }
  void seed(std::initializer_list<gps::WaypointRecord> records) {
    gps::WaypointTable t;
    ASSERT_NE(t.open(path()), gps::WaypointTable::Opened::kFailed);
    for (const auto& r : records) ASSERT_TRUE(t.append(r));
  }
  std::vector<gps::WaypointEntry> stored() const {
    auto list = gps::loadWaypointList(path());
    list.erase(list.begin());
    return list;
  }
  // The capture dialog's part in an Add or Edit: these texts, then OK.
  void capture(std::string name, std::string lat, std::string lon) {
    host.onForm(gps::kCaptureDialog, [=](ui::FormState& f) {
      f.type(gps::kWaypointNameEntry, name);
      f.type(gps::kWaypointLatitudeText, lat);
      f.type(gps::kWaypointLongitudeText, lon);
      f.press(ui::kIdOkButton);
    });
  }
  static std::string shown(ui::FormState& f) {
    return f.text(gps::kBrowserRecordText) + "|" + f.text(gps::kBrowserNameText) + "|" +
           f.text(gps::kBrowserLatitudeText) + "|" + f.text(gps::kBrowserLongitudeText);
  }
};

TEST_F(WaypointBrowser, OpeningAndClosingWithNoFileLeavesNoFile) {
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "Select Waypoint to Edit");
    EXPECT_TRUE(platform::fileExists(path()));  // made for the browser
    EXPECT_EQ(f.text(gps::kBrowserRecordText), "Waypoint:0 of 0");
    f.press(gps::kNextWaypointButton);  // nothing to move through
    f.press(gps::kLastWaypointButton);
    EXPECT_EQ(f.text(gps::kBrowserRecordText), "Waypoint:0 of 0");
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(browse(), 1);
  EXPECT_FALSE(platform::fileExists(path()));
  EXPECT_EQ(redraws, 1);
  // Cancel closes the same way.
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  EXPECT_EQ(browse(), 1);
  EXPECT_FALSE(platform::fileExists(path()));
}

TEST_F(WaypointBrowser, AnExistingFileWithNoRecordsIsRemovedOnClose) {
  seed({});
  ASSERT_TRUE(platform::fileExists(path()));
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) { f.press(ui::kIdOkButton); });
  EXPECT_EQ(browse(), 1);
  EXPECT_FALSE(platform::fileExists(path()));
}

TEST_F(WaypointBrowser, DeleteOnAFreshlyCreatedFileRemovesItAndCloses) {
  host.expectOnce("Delete This Record ?", ui::kIdYes, "Select Waypoint to Edit");
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) {
    f.press(gps::kDeleteWaypointButton);
    EXPECT_TRUE(f.ended());
  });
  EXPECT_EQ(browse(), 1);
  EXPECT_EQ(host.beeps(), 1);  // the exclamation beep before the question
  EXPECT_EQ(host.shown()[0].flags & ui::kMbButtonMask, ui::kMbYesNo);
  EXPECT_FALSE(platform::fileExists(path()));
}

TEST_F(WaypointBrowser, WaypointsAddedToAFreshFileAreKept) {
  capture("First", "10.5", "-20.25");
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) {
    f.press(gps::kAddWaypointButton);
    EXPECT_EQ(shown(f), "Waypoint:1 of 1|First|   10.50000000|  -20.25000000");
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(browse(), 1);
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_EQ(stored()[0].name, "First");
}

TEST_F(WaypointBrowser, MovesStayWithinTheRecords) {
  seed({{"a", 1, 1}, {"b", 2, 2}, {"c", 3, 3}});
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) {
    EXPECT_EQ(shown(f), "Waypoint:1 of 3|a|    1.00000000|    1.00000000");
    f.press(gps::kPreviousWaypointButton);
    EXPECT_EQ(f.text(gps::kBrowserRecordText), "Waypoint:1 of 3");
    f.press(gps::kNextWaypointButton);
    EXPECT_EQ(f.text(gps::kBrowserNameText), "b");
    f.press(gps::kLastWaypointButton);
    f.press(gps::kNextWaypointButton);
    EXPECT_EQ(f.text(gps::kBrowserRecordText), "Waypoint:3 of 3");
    EXPECT_EQ(f.text(gps::kBrowserNameText), "c");
    f.press(gps::kFirstWaypointButton);
    EXPECT_EQ(f.text(gps::kBrowserNameText), "a");
  });
  EXPECT_EQ(browse(), 1);
  EXPECT_EQ(stored().size(), 3u);  // nothing changed by browsing
}

TEST_F(WaypointBrowser, DeletingTheFirstOfThreeShowsTheNewFirst) {
  seed({{"a", 1, 1}, {"b", 2, 2}, {"c", 3, 3}});
  host.expect("Delete This Record ?", ui::kIdYes);
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) {
    f.press(gps::kDeleteWaypointButton);
    EXPECT_EQ(shown(f), "Waypoint:1 of 2|b|    2.00000000|    2.00000000");
    // The shown record is current: editing it changes "b".
    host.onForm(gps::kCaptureDialog, [](ui::FormState& c) {
      EXPECT_EQ(c.text(gps::kWaypointNameEntry), "b");
      c.type(gps::kWaypointNameEntry, "B");
      c.press(ui::kIdOkButton);
    });
    f.press(gps::kEditWaypointButton);
    f.press(gps::kLastWaypointButton);
    f.press(gps::kDeleteWaypointButton);  // the last: the one before becomes current
    EXPECT_EQ(shown(f), "Waypoint:1 of 1|B|    2.00000000|    2.00000000");
  });
  EXPECT_EQ(browse(), 1);
  const auto list = stored();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, "B");
}

TEST_F(WaypointBrowser, DeletingTheOnlyRecordBlanksIt) {
  seed({{"only", 45.5, -110.5}});
  host.expect("Delete This Record ?", ui::kIdYes);
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) {
    f.press(gps::kDeleteWaypointButton);
    EXPECT_FALSE(f.ended());
    EXPECT_EQ(shown(f), "Waypoint:1 of 1||    0.00000000|    0.00000000");
  });
  EXPECT_EQ(browse(), 1);
  const auto list = stored();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, "");
  EXPECT_EQ(list[0].latitude, 0);
  EXPECT_EQ(list[0].longitude, 0);
}

TEST_F(WaypointBrowser, AddNewStartsAtTheCurrentFixWhileGpsIsOn) {
  gps.withLock([](GpsData& d) {
    d.position.valid = 1;
    d.position.latitude = 43.25;
    d.position.longitude = -116.5;
  });
  host.onForm(gps::kCaptureDialog, [](ui::FormState& c) {
    EXPECT_EQ(c.text(gps::kWaypointNameEntry), "");
    EXPECT_EQ(c.text(gps::kWaypointLatitudeText), "   43.25000000");
    c.type(gps::kWaypointNameEntry, "Here");
    c.press(ui::kIdOkButton);
  });
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) { f.press(gps::kAddWaypointButton); });
  EXPECT_EQ(browse(true), 1);
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_DOUBLE_EQ(stored()[0].longitude, -116.5);
}

TEST_F(WaypointBrowser, AFileThatCannotBeOpenedOrMadeIsReported) {
  ASSERT_TRUE(platform::makeFolder(path()));
  host.expect("Can't Open/Create WayPoint file", ui::kIdOk, "File Open Error");
  EXPECT_EQ(browse(), 0);
  EXPECT_TRUE(host.forms().empty());
}

TEST_F(WaypointBrowser, APositionTooWideForTheTableIsAWriteFailure) {
  seed({{"a", 1, 1}});
  host.expect("Can't Write to WayPoint file", ui::kIdOk, "File Write Error");
  capture("wide", "12345.5", "0");
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) {
    f.press(gps::kEditWaypointButton);
    EXPECT_TRUE(host.sawText("Can't Write to WayPoint file"));
    EXPECT_EQ(f.text(gps::kBrowserNameText), "a");
  });
  EXPECT_EQ(browse(), 1);
  EXPECT_EQ(stored()[0].name, "a");
}

TEST_F(WaypointBrowser, AddEditDeleteRoundTripReadsBackWithDbfread) {
  seed({{"Gate", 42.5, -114.25}});
  host.expect("Delete This Record ?", ui::kIdYes);
  capture("Well", "43.12345678", "-115.87654321");
  capture("Barn", "-1.5", "2.25");
  capture("Gate North", "42.75", "-114.125");
  host.onForm(gps::kWaypointBrowser, [&](ui::FormState& f) {
    f.press(gps::kAddWaypointButton);
    EXPECT_EQ(f.text(gps::kBrowserRecordText), "Waypoint:2 of 2");
    f.press(gps::kAddWaypointButton);
    EXPECT_EQ(f.text(gps::kBrowserRecordText), "Waypoint:3 of 3");
    f.press(gps::kFirstWaypointButton);
    f.press(gps::kEditWaypointButton);
    EXPECT_EQ(f.text(gps::kBrowserNameText), "Gate North");
    f.press(gps::kNextWaypointButton);
    f.press(gps::kDeleteWaypointButton);  // "Well"
    EXPECT_EQ(shown(f), "Waypoint:1 of 2|Gate North|   42.75000000| -114.12500000");
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(browse(), 1);

#ifndef _WIN32
  const std::string python = testing_support::pythonWithDbfread();
  if (python.empty()) GTEST_SKIP() << "python3 with dbfread is not installed";
  testing_support::writeBytes(dir.file("read.py"),
                              "import sys, dbfread\nt = dbfread.DBF(sys.argv[1])\n"
                              "print(' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count) "
                              "for f in t.fields))\n"
                              "for r in t: print('%s|%r|%r' % (r['WAYPOINT'], r['LATITUDE'], r['LONGITUDE']))\n");
  const std::string out = dir.file("out.txt");
  const std::string cmd = python + " '" + dir.file("read.py") + "' '" + path() + "' >'" + out + "' 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << testing_support::readBytes(out);
  EXPECT_EQ(testing_support::readBytes(out),
            "WAYPOINT:C:25:0 LATITUDE:N:13:8 LONGITUDE:N:13:8\n"
            "Gate North|42.75|-114.125\n"
            "Barn|-1.5|2.25\n");
#endif
}

}  // namespace

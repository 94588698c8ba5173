#include "gps/navigation.hpp"

#include <gtest/gtest.h>

#include "gps/nav_dialogs.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using testing_support::ScriptedHost;

struct NavFixture : ::testing::Test {
  testing_support::TempDir dir;
  ScriptedHost host;
  gps::GpsState state;
  gps::Navigation nav;
  gps::NavigationContext context;

  NavFixture() {
    context.gpsEnabled = true;
    context.detected = true;
    context.gps = &state;
    context.waypointTable = dir.file("Waypoints.dbf");
    moveTo(45.0, -122.0);
  }
  void moveTo(double lat, double lon) {
    state.withLock([&](gps::GpsData& d) {
      d.position.valid = 1;
      d.position.latitude = lat;
      d.position.longitude = lon;
    });
  }
  void writeWaypoints(int n) {
    gps::WaypointTable table;
    ASSERT_NE(table.open(context.waypointTable), gps::WaypointTable::Opened::kFailed);
    for (int i = 1; i <= n; ++i) ASSERT_TRUE(table.append({"WP" + std::to_string(i), 45.0 + i * 0.001, -122.0}));
    ASSERT_TRUE(table.close());
  }
  // Plays the From/To dialog with these selections (-1: as offered).
  void chooseFromTo(int from, int to, int* offeredFrom = nullptr, int* offeredTo = nullptr) {
    host.onForm(gps::kFromToDialog, [=](ui::FormState& f) {
      if (offeredFrom) *offeredFrom = f.selection(gps::kFromList);
      if (offeredTo) *offeredTo = f.selection(gps::kToList);
      if (from >= 0) f.select(gps::kFromList, from);
      if (to >= 0) f.select(gps::kToList, to);
      f.press(ui::kIdOkButton);
    });
  }
};

TEST_F(NavFixture, RefusalsInTheirOrder) {
  context.gpsEnabled = false;
  EXPECT_EQ(nav.open(host.expectOnce("GPS Not Enabled", ui::kIdOk, "Error"), context), 0);
  context.gpsEnabled = true;
  context.detected = false;
  EXPECT_EQ(nav.open(host.expectOnce("GPS Not Detected", ui::kIdOk, "Error"), context), 0);
  context.detected = true;
  // No table, then a table without a waypoint.
  host.expect("No Waypoints Available\nMust create Waypoints First", ui::kIdOk, "Error", 2);
  EXPECT_EQ(nav.open(host, context), 0);
  writeWaypoints(0);
  EXPECT_EQ(nav.open(host, context), 0);
  EXPECT_TRUE(host.forms().empty());
  EXPECT_TRUE(host.canvases().empty());
}

TEST_F(NavFixture, CancelAbandonsAndAWindowThatCannotBeMadeIsReported) {
  writeWaypoints(2);
  host.onForm(gps::kFromToDialog, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  EXPECT_EQ(nav.open(host, context), 0);
  EXPECT_TRUE(host.canvases().empty());
  chooseFromTo(-1, -1);
  host.canvasRefused = 1407;
  host.expectOnce("CreateGraphWin error=1407.\r\n", ui::kIdOk, "Error");
  EXPECT_EQ(nav.open(host, context), 0);
}

TEST_F(NavFixture, DestinationOneByDefaultAndIndexesHeldWithinAChangedList) {
  writeWaypoints(4);
  int from = -1, to = -1;
  chooseFromTo(3, 4, &from, &to);
  host.onCanvas([](ui::CanvasState&) {});
  EXPECT_EQ(nav.open(host, context), 1);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 1);  // both 0 at opening: the destination becomes 1
  EXPECT_EQ(nav.start(), 3);
  EXPECT_EQ(nav.destination(), 4);
  ASSERT_EQ(host.canvases().size(), 1u);
  EXPECT_EQ(host.canvases()[0], "Graphical Navigation Window");
  // The table now holds two waypoints: both selections come back inside it.
  std::remove(context.waypointTable.c_str());
  writeWaypoints(2);
  chooseFromTo(-1, -1, &from, &to);
  host.onCanvas([](ui::CanvasState&) {});
  EXPECT_EQ(nav.open(host, context), 1);
  EXPECT_EQ(from, 2);
  EXPECT_EQ(to, 2);
}

// The texts of a drawing joined, to look for one.
std::string allTexts(const ui::Drawing& d) {
  std::string s;
  for (const auto& t : d.texts) s += t.text + "\n";
  return s;
}

TEST_F(NavFixture, TheWindowRedrawsWithEachTickAndKeepsTenTrackPositions) {
  writeWaypoints(3);
  chooseFromTo(1, 3);
  std::size_t trackAfter12 = 0, trackAfterResize = 0;
  std::string texts;
  host.onCanvas([&](ui::CanvasState& c) {
    EXPECT_TRUE(c.takeRedraw());
    for (int i = 0; i < 12; ++i) {
      moveTo(45.0 + i * 0.0001, -122.0 + i * 0.0001);
      c.tick();
    }
    EXPECT_TRUE(c.takeRedraw());
    const ui::Drawing d = c.draw();
    ASSERT_EQ(d.polylines.size(), 1u);
    trackAfter12 = d.polylines[0].points.size();
    texts = allTexts(d);
    // Points: start, destination, current; legs: start-end and the leg to go.
    EXPECT_EQ(d.circles.size(), 3u);
    EXPECT_EQ(d.lines.size(), 2u);
    ui::CanvasMetrics bigger = c.metrics();
    bigger.width += 100;
    c.resize(bigger);  // set up anew: the track starts again
    const ui::Drawing after = c.draw();
    trackAfterResize = after.polylines.empty() ? 1 : after.polylines[0].points.size();
    EXPECT_TRUE(c.key(ui::key::kF4));
  });
  EXPECT_EQ(nav.open(host, context), 1);
  EXPECT_EQ(trackAfter12, 10u);
  EXPECT_EQ(trackAfterResize, 1u);
  EXPECT_NE(texts.find(" To Destination GO:"), std::string::npos) << texts;
  EXPECT_NE(texts.find(" From Start To End:  0°T"), std::string::npos) << texts;
  EXPECT_NE(texts.find(" From: WP1   To: WP3"), std::string::npos) << texts;
}

TEST_F(NavFixture, MenuCommandsOpenTheirDialogsAndSetUpAnew) {
  writeWaypoints(3);
  chooseFromTo(0, 2);
  bool presented = false;
  context.presentation = [&] { presented = true; };
  host.onForm(gps::kBackgroundDialog, [](ui::FormState& f) {
    f.press(gps::kAddAllButton);
    f.select(gps::kSelectedList, 0);
    f.press(gps::kRemoveButton);  // WP1 goes back
    f.setChecked(gps::kIncludeTrackCheck, false);
    f.press(ui::kIdOkButton);
  });
  chooseFromTo(1, 2);
  host.onCanvas([&](ui::CanvasState& c) {
    c.tick();
    c.tick();
    c.command(gps::kNavBackgroundCommand);
    c.tick();
    c.tick();
    ui::Drawing d = c.draw();
    EXPECT_TRUE(d.polylines.empty());  // the track is left out
    std::vector<std::string> labels;
    for (const auto& circle : d.circles) labels.push_back(circle.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"WP2", "WP3", "WP2", "Current Position"}));
    c.command(gps::kNavFromToCommand);
    c.command(gps::kNavPresentationCommand);
    d = c.draw();
    EXPECT_NE(allTexts(d).find(" From: WP1   To: WP2"), std::string::npos) << allTexts(d);
    EXPECT_TRUE(c.key(ui::key::kEscape));
    EXPECT_TRUE(c.ended());
  });
  EXPECT_EQ(nav.open(host, context), 1);
  EXPECT_TRUE(presented);
  EXPECT_EQ(nav.start(), 1);
  EXPECT_EQ(nav.destination(), 2);
}

TEST(NavDialogs, ClampIndex) {
  EXPECT_EQ(gps::clampIndex(5, 3), 2);
  EXPECT_EQ(gps::clampIndex(-2, 3), 0);
  EXPECT_EQ(gps::clampIndex(4, 0), 0);
  EXPECT_EQ(gps::clampIndex(1, 3), 1);
}

}  // namespace

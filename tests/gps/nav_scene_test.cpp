#include "gps/nav_scene.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using gps::NavInputs;
using gps::NavScene;
using gps::WaypointEntry;

struct SceneFixture {
  gps::GpsData state;
  std::vector<WaypointEntry> list;
  gps::TrackLog track;

  SceneFixture() {
    state.position.valid = 1;
    state.position.latitude = 45.0;
    state.position.longitude = -122.0;
    state.parms.setDistanceUnit(gps::kMeters);
    state.parms.setBearingRef(gps::kTrueBearing);
    state.parms.setMagneticVariation(0);
    list.push_back({"-< Current Position >-", 0, 0});
  }
  void add(const std::string& name, double lat, double lon) { list.push_back({name, lat, lon}); }
  NavScene build(int start, int dest, bool landscape = true) {
    NavInputs in;
    in.gps = &state;
    in.list = &list;
    in.start = start;
    in.destination = dest;
    in.track = &track;
    in.landscape = landscape;
    return gps::buildNavScene(in);
  }
};

bool hasText(const std::vector<std::string>& texts, const std::string& part) {
  for (const auto& t : texts)
    if (t.find(part) != std::string::npos) return true;
  return false;
}

TEST(NavScene, SameStartAndDestinationMeasureNothing) {
  SceneFixture f;
  f.add("Plot 7", 45.01, -122.02);
  const NavScene s = f.build(1, 1);
  ASSERT_TRUE(s.hasLeg);
  EXPECT_EQ(s.legMetres, 0.0);
  EXPECT_EQ(s.legBearing, 0);
  EXPECT_TRUE(hasText(s.bottomTexts, " From Start To End:  0°T    0.0 Meters")) << s.bottomTexts[1];
  // The leg to go is real: the current position lies elsewhere.
  EXPECT_GT(s.toGoMetres, 1000.0);
}

TEST(NavScene, BearingTrueAndMagneticDueWest) {
  SceneFixture f;
  f.add("West", 45.0, -122.01);
  NavScene s = f.build(0, 1);
  EXPECT_EQ(s.toGoBearing, 270);
  EXPECT_TRUE(hasText(s.bottomTexts, " To Destination GO:270°T")) << s.bottomTexts[0];
  EXPECT_FALSE(s.hasLeg);  // no start chosen: no start-to-end leg
  f.state.parms.setBearingRef(gps::kMagneticBearing);
  f.state.parms.setMagneticVariation(10);  // westerly
  s = f.build(0, 1);
  EXPECT_EQ(s.toGoBearing, 280);
  EXPECT_TRUE(hasText(s.bottomTexts, "280°M"));
}

TEST(NavScene, DistanceUnitsChangeAtTheirThresholds) {
  SceneFixture f;
  // Due north: a degree of latitude at 45° is about 111132 m.
  f.add("Near", 45.0 + 990.0 / 111132.0, -122.0);
  f.add("Far", 45.0 + 1010.0 / 111132.0, -122.0);
  f.add("Nautical", 45.0 + 1800.0 / 111132.0, -122.0);
  NavScene s = f.build(0, 1);
  EXPECT_TRUE(hasText(s.bottomTexts, " Meters")) << s.bottomTexts[0];
  s = f.build(0, 2);
  EXPECT_TRUE(hasText(s.bottomTexts, "   1.0 KiloMeters")) << s.bottomTexts[0];
  f.state.parms.setDistanceUnit(gps::kNautMile);
  s = f.build(0, 3);
  EXPECT_TRUE(hasText(s.bottomTexts, " Feet")) << s.bottomTexts[0];
  EXPECT_NEAR(s.toGoMetres, 1800.0, 3.0);
}

TEST(NavScene, PortraitTextsAndIndexesOutsideTheList) {
  SceneFixture f;
  f.add("A", 45.001, -122.0);
  f.add("B", 45.002, -122.0);
  const NavScene s = f.build(1, 2, false);
  EXPECT_EQ(s.bottomTexts[0].rfind(" Destination:", 0), 0u);
  EXPECT_EQ(s.bottomTexts[1].rfind("Start To End:", 0), 0u);
  EXPECT_TRUE(hasText(s.bottomTexts, " From: A   To: B"));
  // An index past the list stands for the current position: no leg, no crash.
  const NavScene past = f.build(9, 7);
  EXPECT_FALSE(past.hasLeg);
  EXPECT_EQ(past.toGoMetres, 0.0);
}

TEST(TrackLog, KeepsTheLatestTen) {
  gps::TrackLog t;
  for (int i = 0; i < 13; ++i) t.add(i, -i);
  ASSERT_EQ(t.points().size(), 10u);
  EXPECT_EQ(t.points().front().latitude, 3);
  EXPECT_EQ(t.points().back().latitude, 12);
}

TEST(ScaleLabel, FormatsOfEachUnit) {
  EXPECT_EQ(gps::scaleLabel(5, gps::kMeters), "  5.00 Mt");
  EXPECT_EQ(gps::scaleLabel(200, gps::kKilometer), "   200 Mt");
  EXPECT_EQ(gps::scaleLabel(2000, gps::kMeters), "   2.0 Km");
  EXPECT_EQ(gps::scaleLabel(2 * 0.3048000831495, gps::kFeet), "  2.00 Ft");
  EXPECT_EQ(gps::scaleLabel(500 * 0.3048000831495, gps::kMiles), "   500 Ft");
  EXPECT_EQ(gps::scaleLabel(2 * 1609.3444390292, gps::kMiles), "  2.0 Mi");
  EXPECT_EQ(gps::scaleLabel(1000, gps::kNautMile), "  3281 Ft");
  EXPECT_EQ(gps::scaleLabel(1852 * 5, gps::kNautMile), "  5.0 Nm");
}

ui::CanvasMetrics pixels(int w, int h) {
  ui::CanvasMetrics m;
  m.width = w;
  m.height = h;
  return m;
}

TEST(NavLayout, EveryPointInsideThePlotArea) {
  SceneFixture f;
  f.add("Start", 45.003, -122.004);
  f.add("End", 44.998, -121.995);
  for (int i = 0; i < 5; ++i) f.track.add(45.0 + i * 0.0005, -122.0 + i * 0.0003);
  const NavScene s = f.build(1, 2);
  const ui::CanvasMetrics m = pixels(800, 600);
  const ui::Drawing d = gps::layoutNavScene(s, m);
  ASSERT_EQ(d.circles.size(), 3u);
  auto inside = [&](ui::CanvasXY p) {
    EXPECT_GE(p.x, 800 * 0.15 - 1);
    EXPECT_LE(p.x, 800 * 0.85 + 1);
    EXPECT_GE(p.y, 600 * 0.15 - 1);
    EXPECT_LE(p.y, 600 * 0.60 + 1);
  };
  for (const auto& c : d.circles) inside(c.centre);
  ASSERT_EQ(d.polylines.size(), 1u);
  EXPECT_EQ(d.polylines[0].points.size(), 5u);
  for (const auto& p : d.polylines[0].points) inside(p);
  // The start-to-end leg and the leg to go.
  ASSERT_EQ(d.lines.size(), 2u);
  // North is up and east is right: the start (north-west) lies up and left of the end.
  const ui::CanvasCircle* start = nullptr;
  const ui::CanvasCircle* end = nullptr;
  for (const auto& c : d.circles) {
    if (c.label == "Start") start = &c;
    if (c.label == "End") end = &c;
  }
  ASSERT_TRUE(start && end);
  EXPECT_LT(start->centre.x, end->centre.x);
  EXPECT_LT(start->centre.y, end->centre.y);
  // The extent fills the plot area in the direction that limits the scale.
  int minX = 10000, maxX = -10000, minY = 10000, maxY = -10000;
  auto take = [&](ui::CanvasXY p) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  };
  for (const auto& c : d.circles) take(c.centre);
  for (const auto& p : d.polylines[0].points) take(p);
  EXPECT_NEAR(std::max((maxX - minX) / (800 * 0.70), (maxY - minY) / (600 * 0.45)), 1.0, 0.01);
}

TEST(NavLayout, OnePointKeepsAScaleAndTheBandsHoldTheTexts) {
  SceneFixture f;
  f.add("Here", 45.0, -122.0);
  const NavScene s = f.build(0, 1);
  const ui::Drawing d = gps::layoutNavScene(s, pixels(640, 480));
  ASSERT_FALSE(d.circles.empty());
  for (const auto& c : d.circles) {
    EXPECT_EQ(c.centre.x, 320);
    EXPECT_EQ(c.centre.y, static_cast<int>(480 * (0.15 + 0.45 / 2) + 0.5));
  }
  // The minimum extent fills the 216 px of the plot's height, so its 448 px
  // width spans 0.000145° of longitude, about 11.4 m at 45°: the bar is the
  // round length below a quarter of that.
  ASSERT_EQ(d.scaleBars.size(), 1u);
  EXPECT_EQ(d.scaleBars[0].label, "  2.00 Mt");
  EXPECT_GT(d.scaleBars[0].length, 0);
  EXPECT_LE(d.scaleBars[0].length, 640 * 0.70 / 4 + 1);
  ASSERT_GE(d.texts.size(), 3u);
  EXPECT_EQ(d.texts[0].topLeft.y, 0);
  bool below = false;
  for (const auto& t : d.texts)
    if (t.text.find("To Destination GO:") != std::string::npos) below = t.topLeft.y >= 480 * 0.60;
  EXPECT_TRUE(below);
}

TEST(NavLayout, LongTextsShrinkInPixelsAndAreCutInCells) {
  NavScene s;
  s.bottomTexts.push_back(std::string(100, 'x'));
  ui::CanvasMetrics m = pixels(400, 300);
  ui::Drawing d = gps::layoutNavScene(s, m);
  ASSERT_EQ(d.texts.size(), 1u);
  EXPECT_EQ(d.texts[0].height, 9);  // 400 / 200 = 2, at least 9
  s.bottomTexts[0] = std::string(30, 'x');
  d = gps::layoutNavScene(s, pixels(400, 300));
  EXPECT_EQ(d.texts[0].height, 16);  // fits at 8 px a character
  s.bottomTexts[0] = std::string(60, 'x');
  d = gps::layoutNavScene(s, pixels(400, 300));
  EXPECT_EQ(d.texts[0].height, 9);
  s.bottomTexts[0] = std::string(20, 'x');
  d = gps::layoutNavScene(s, pixels(100, 300));
  EXPECT_EQ(d.texts[0].height, 9);  // 100 / 40 = 2 → 9
  ui::CanvasMetrics cells = pixels(40, 96);
  cells.charWidth = 2;
  cells.lineHeight = 4;
  cells.scalableText = false;
  s.bottomTexts[0] = std::string(30, 'y');
  d = gps::layoutNavScene(s, cells);
  EXPECT_EQ(d.texts[0].text, std::string(20, 'y'));
}

}  // namespace

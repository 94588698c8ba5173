#pragma once
// The navigation picture: what it shows in plot coordinates (x = longitude
// + 180, y = 90 - latitude, in degrees), built from one copy of the GPS
// state, and its layout onto a canvas of any size.
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "gps/gps_state.hpp"
#include "gps/waypoint_table.hpp"
#include "ui/canvas.hpp"

namespace gps {

// The last positions, oldest first; the oldest goes when a new one comes to
// a full log.
class TrackLog {
 public:
  static constexpr std::size_t kCapacity = 10;
  void add(double latitude, double longitude);
  void clear() { points_.clear(); }
  struct Point {
    double latitude, longitude;
  };
  const std::deque<Point>& points() const { return points_; }

 private:
  std::deque<Point> points_;
};

// What the picture is made of.
struct NavInputs {
  const GpsData* gps = nullptr;               // the state as copied under the GPS lock
  const std::vector<WaypointEntry>* list = nullptr;  // entry 0 stands for the current position
  int start = 0, destination = 0;             // indexes into list (held within it)
  const std::vector<WaypointEntry>* background = nullptr;  // may be null
  const TrackLog* track = nullptr;            // drawn when includeTrack
  bool includeTrack = true;
  bool landscape = true;
};

struct NavPoint {
  double x = 0, y = 0;  // plot coordinates
  std::string label;
  ui::Ink ink = ui::Ink::Current;
};
struct NavSegment {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  ui::Ink ink = ui::Ink::Leg;
};

struct NavScene {
  // Lines of the band above the plot (the position) and below it (the legs).
  std::vector<std::string> topTexts, bottomTexts;
  std::vector<NavPoint> points;
  std::vector<NavSegment> segments;
  std::vector<NavPoint> track;  // in order, oldest first (labels empty)
  // For the scale: the latitude the plot is centred on and the distance setting.
  double centreLatitude = 0;
  int distanceUnit = kMeters;
  // The legs as measured (also shown in the texts).
  double toGoMetres = 0;
  int toGoBearing = 0;
  bool hasLeg = false;
  double legMetres = 0;
  int legBearing = 0;
};

// Plot coordinates of a position.
inline double plotX(double longitude) { return longitude + 180.0; }
inline double plotY(double latitude) { return 90.0 - latitude; }

// The picture for in: the text to the destination (" To Destination GO:"
// in landscape, " Destination:" in portrait), the start-to-end leg and its
// text when both indexes are above 0, the points with their names, the
// background points and the track. Indexes outside the list count as 0.
NavScene buildNavScene(const NavInputs& in);

// The smallest extent of the plot, in degrees, so that one point alone (or
// points very close together) still gives a usable scale.
inline constexpr double kMinPlotExtent = 0.00007;
// Parts of the area the plot leaves free: 15% of the width on either side,
// 15% of the height above and 40% below.
inline constexpr double kPlotSideMargin = 0.15, kPlotTopMargin = 0.15, kPlotBottomMargin = 0.40;

// The picture on a canvas of m's size: every point, the track and the legs
// fitted into the plot area with one scale for both directions (the extent
// never below kMinPlotExtent), the band texts above and below, and a scale
// bar labelled in the display unit ("%6.2f Mt" ... "%5.1f Nm"). A text wider
// than the area is drawn smaller where the canvas allows it: height = width
// ÷ (2 × its length), at least 9.
ui::Drawing layoutNavScene(const NavScene& scene, const ui::CanvasMetrics& m);

// The scale bar's label for a ground length in metres in the distance
// setting's unit (exposed for tests).
std::string scaleLabel(double metres, int distanceUnit);

}  // namespace gps

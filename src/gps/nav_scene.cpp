#include "gps/nav_scene.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/text.hpp"
#include "gps/geodesy.hpp"
#include "gps/status_view.hpp"

namespace gps {

void TrackLog::add(double latitude, double longitude) {
  if (points_.size() >= kCapacity) points_.pop_front();
  points_.push_back({latitude, longitude});
}

namespace {

const WaypointEntry* entryAt(const std::vector<WaypointEntry>* list, int index) {
  if (!list || index <= 0 || static_cast<std::size_t>(index) >= list->size()) return nullptr;
  return &(*list)[static_cast<std::size_t>(index)];
}

DistanceBearing measure(double fromLat, double fromLon, double toLat, double toLon, const GpsParms& parms) {
  DistanceBearing d;
  d.fromLatitude = fromLat;
  d.fromLongitude = fromLon;
  d.toLatitude = toLat;
  d.toLongitude = toLon;
  distanceBearing(d, parms.distanceUnit(), parms.magneticBearing(), parms.magneticVariation());
  return d;
}

std::string legText(const char* label, const DistanceBearing& d) {
  return label + d.bearingText + " " + d.distanceText;
}

NavPoint pointAt(double latitude, double longitude, std::string label, ui::Ink ink) {
  return {plotX(longitude), plotY(latitude), std::move(label), ink};
}

}  // namespace

NavScene buildNavScene(const NavInputs& in) {
  NavScene s;
  static const GpsData kNoState;
  const GpsData& gps = in.gps ? *in.gps : kNoState;
  const GpsParms& parms = gps.parms;
  s.distanceUnit = parms.distanceUnit();
  const double curLat = gps.position.latitude, curLon = gps.position.longitude;

  StatusView view;
  view.enabled = true;
  view.detected = true;
  view.data = gps;
  std::vector<std::string> status = mainStatusLines(view);
  s.topTexts.push_back(status[0]);
  s.topTexts.push_back(status[1]);
  if (!status[3].empty()) s.topTexts.push_back(status[3]);

  const WaypointEntry* start = entryAt(in.list, in.start);
  const WaypointEntry* dest = entryAt(in.list, in.destination);
  const double destLat = dest ? dest->latitude : curLat, destLon = dest ? dest->longitude : curLon;

  const DistanceBearing toGo = measure(curLat, curLon, destLat, destLon, parms);
  s.toGoMetres = toGo.metres;
  s.toGoBearing = toGo.bearing;
  s.bottomTexts.push_back(legText(in.landscape ? " To Destination GO:" : " Destination:", toGo));
  if (start && dest) {
    const DistanceBearing leg = measure(start->latitude, start->longitude, destLat, destLon, parms);
    s.hasLeg = true;
    s.legMetres = leg.metres;
    s.legBearing = leg.bearing;
    s.bottomTexts.push_back(legText(in.landscape ? " From Start To End:" : "Start To End:", leg));
    s.segments.push_back({plotX(start->longitude), plotY(start->latitude), plotX(destLon), plotY(destLat),
                          ui::Ink::Leg});
  }
  std::string names;
  if (start) names = " From: " + start->name;
  if (dest) names += (names.empty() ? " To: " : "   To: ") + dest->name;
  if (!names.empty()) s.bottomTexts.push_back(names);
  if (dest)
    s.segments.push_back({plotX(curLon), plotY(curLat), plotX(destLon), plotY(destLat), ui::Ink::ToGo});

  if (in.background)
    for (const WaypointEntry& w : *in.background)
      s.points.push_back(pointAt(w.latitude, w.longitude, w.name, ui::Ink::Background));
  if (start) s.points.push_back(pointAt(start->latitude, start->longitude, start->name, ui::Ink::Start));
  if (dest) s.points.push_back(pointAt(destLat, destLon, dest->name, ui::Ink::Destination));
  s.points.push_back(pointAt(curLat, curLon, "Current Position", ui::Ink::Current));

  if (in.includeTrack && in.track)
    for (const TrackLog::Point& p : in.track->points())
      s.track.push_back(pointAt(p.latitude, p.longitude, {}, ui::Ink::Track));

  s.centreLatitude = curLat;
  return s;
}

std::string scaleLabel(double metres, int distanceUnit) {
  char text[48];
  if (distanceUnit == kMeters || distanceUnit == kKilometer) {
    if (metres >= 1000.0) std::snprintf(text, sizeof text, "%6.1f Km", metres / 1000.0);
    else if (metres < 10.0) std::snprintf(text, sizeof text, "%6.2f Mt", metres);
    else std::snprintf(text, sizeof text, "%6.0f Mt", metres);
    return text;
  }
  const double feet = metres / kMetresPerFoot;
  if (distanceUnit == kNautMile && metres >= kMetresPerNauticalMile)
    std::snprintf(text, sizeof text, "%5.1f Nm", metres / kMetresPerNauticalMile);
  else if (distanceUnit != kNautMile && feet >= kFeetPerMile)
    std::snprintf(text, sizeof text, "%5.1f Mi", metres / kMetresPerMile);
  else if (feet < 10.0)
    std::snprintf(text, sizeof text, "%6.2f Ft", feet);
  else
    std::snprintf(text, sizeof text, "%6.0f Ft", feet);
  return text;
}

namespace {

struct PlotBox {
  double left = 0, top = 0, width = 1, height = 1;  // canvas units
};

// A round ground length (1, 2 or 5 times a power of ten in the display's
// base unit) no longer than target metres.
double roundLength(double targetMetres, int distanceUnit) {
  const bool metric = distanceUnit == kMeters || distanceUnit == kKilometer;
  const double unitMetres = metric ? 1.0 : kMetresPerFoot;
  const double target = targetMetres / unitMetres;
  if (!(target > 0) || !std::isfinite(target)) return 0;
  double step = std::pow(10.0, std::floor(std::log10(target)));
  double best = step;
  for (double k : {2.0, 5.0, 10.0})
    if (k * step <= target) best = k * step;
  return best * unitMetres;
}

// A text of the band: drawn smaller where it would not fit (pixels), cut
// where the canvas has fixed cells.
ui::CanvasText bandText(const std::string& text, int x, int y, const ui::CanvasMetrics& m) {
  ui::CanvasText t;
  t.topLeft = {x, y};
  t.text = text;
  t.height = m.lineHeight;
  const std::size_t length = base::characterCount(text);
  const long long needed = static_cast<long long>(length) * m.charWidth;
  if (length > 0 && needed > m.width - x) {
    if (m.scalableText) t.height = std::max(9, std::min(m.lineHeight, m.width / static_cast<int>(2 * length)));
    else t.text = base::firstCharacters(text, static_cast<std::size_t>(std::max(0, (m.width - x) / std::max(1, m.charWidth))));
  }
  return t;
}

}  // namespace

ui::Drawing layoutNavScene(const NavScene& scene, const ui::CanvasMetrics& m) {
  ui::Drawing d;
  PlotBox box;
  box.left = m.width * kPlotSideMargin;
  box.top = m.height * kPlotTopMargin;
  box.width = std::max(1.0, m.width * (1.0 - 2 * kPlotSideMargin));
  box.height = std::max(1.0, m.height * (1.0 - kPlotTopMargin - kPlotBottomMargin));

  // The extent of everything shown.
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
  auto take = [&](double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  };
  for (const NavPoint& p : scene.points) take(p.x, p.y);
  for (const NavPoint& p : scene.track) take(p.x, p.y);
  for (const NavSegment& s : scene.segments) {
    take(s.x1, s.y1);
    take(s.x2, s.y2);
  }
  if (minX > maxX) minX = maxX = minY = maxY = 0;
  const double extentX = std::max(maxX - minX, kMinPlotExtent), extentY = std::max(maxY - minY, kMinPlotExtent);
  const double scale = std::min(box.width / extentX, box.height / extentY);  // canvas units per degree
  const double midX = (minX + maxX) / 2, midY = (minY + maxY) / 2;
  const double cx = box.left + box.width / 2, cy = box.top + box.height / 2;
  auto at = [&](double x, double y) {
    const double px = cx + (x - midX) * scale, py = cy + (y - midY) * scale;
    auto clampUnit = [](double v) { return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6))); };
    return ui::CanvasXY{clampUnit(std::isfinite(px) ? px : cx), clampUnit(std::isfinite(py) ? py : cy)};
  };

  if (scene.track.size() >= 2) {
    ui::CanvasPolyline line;
    line.ink = ui::Ink::Track;
    for (const NavPoint& p : scene.track) line.points.push_back(at(p.x, p.y));
    d.polylines.push_back(std::move(line));
  }
  for (const NavSegment& s : scene.segments) d.lines.push_back({at(s.x1, s.y1), at(s.x2, s.y2), s.ink});
  for (const NavPoint& p : scene.points) d.circles.push_back({at(p.x, p.y), m.pointRadius, p.ink, p.label});

  // Scale: a round length near a quarter of the plot's width, measured east
  // and west along the centre latitude.
  DistanceBearing across;
  across.fromLatitude = across.toLatitude = scene.centreLatitude;
  across.fromLongitude = 0;
  across.toLongitude = box.width / scale;
  distanceBearing(across, kMeters, false, 0);
  const double metresPerUnit = across.metres / box.width;
  if (metresPerUnit > 0 && std::isfinite(metresPerUnit)) {
    const double metres = roundLength(box.width / 4 * metresPerUnit, scene.distanceUnit);
    const int length = static_cast<int>(std::lround(metres / metresPerUnit));
    if (metres > 0 && length > 0) {
      const int y = static_cast<int>(std::lround(m.height - m.lineHeight * 1.5));
      d.scaleBars.push_back({{static_cast<int>(std::lround(box.left)), y}, length,
                             scaleLabel(metres, scene.distanceUnit)});
    }
  }

  // Texts: the position in the band above, the legs in the band below the plot.
  int y = 0;
  for (const std::string& text : scene.topTexts) {
    ui::CanvasText t = bandText(text, 0, y, m);
    y += std::max(t.height, 1);
    d.texts.push_back(std::move(t));
  }
  // Below the lowest circle and its label.
  y = static_cast<int>(std::lround(box.top + box.height)) + m.pointRadius + m.lineHeight;
  for (const std::string& text : scene.bottomTexts) {
    ui::CanvasText t = bandText(text, 0, y, m);
    y += std::max(t.height, 1);
    d.texts.push_back(std::move(t));
  }
  return d;
}

}  // namespace gps

#include "gps/fix_quality.hpp"

#include <algorithm>
#include <cmath>

namespace gps {

namespace al = apps::layout::app_ctl;

namespace {

bool usesWarningFilters(const apps::AppCtl& app) { return app.gpsLimit(al::kGpsUseFilters) != 0; }

LogLimits applicationLimits(const apps::AppCtl& app) {
  LogLimits l;
  l.requireDgps = app.gpsLimit(al::kGpsRequireDgps) != 0;
  l.require3d = app.gpsLimit(al::kGpsRequire3d) != 0;
  l.minSatellites = app.gpsLimit(al::kGpsMinSatellites);
  l.maxDop = app.gpsLimit(al::kGpsMaxDop);
  return l;
}

// The checks both tests share; texts[i] names check i (PDOP and HDOP share
// one text). Returns the text of the last failing check, or nullptr.
const char* lastFailing(bool requireDgps, bool require3d, double maxPdop, double maxHdop, int minSatellites,
                        const Quality& q, const char* const (&texts)[4]) {
  const char* failed = nullptr;
  if (q.dgps == 0.0 && requireDgps) failed = texts[0];
  // No dimension character at all (fix mode cleared) is not 3D either.
  if (q.dimension() < '3' && require3d) failed = texts[1];
  if (q.pdop > maxPdop) failed = texts[2];
  if (q.hdop > maxHdop) failed = texts[2];
  if (q.satellites < minSatellites) failed = texts[3];
  return failed;
}

}  // namespace

LogLimits loggingLimits(const apps::AppCtl& app, const GpsParms& parms) {
  if (!usesWarningFilters(app)) return applicationLimits(app);
  LogLimits l;
  l.testOn = !parms.logDuringWarnings();
  l.requireDgps = parms.requireDgps();
  l.require3d = parms.require3d();
  l.minSatellites = parms.minSatellites();
  l.maxDop = std::round(std::max(parms.maxPdop(), parms.maxHdop()));
  return l;
}

std::string acceptFix(const LogLimits& limits, const GpsData& fix) {
  if (!limits.testOn) return {};
  static const char* const kTexts[4] = {"DGPS Not Available", "3D Positions Not Available", "DOP Too High",
                                        "Too Few Satellites"};
  const char* failed = lastFailing(limits.requireDgps, limits.require3d, limits.maxDop, limits.maxDop,
                                   limits.minSatellites, fix.quality, kTexts);
  if (failed == nullptr) return {};
  std::string text = failed;
  text.resize(kAcceptMessageWidth, ' ');
  return text;
}

std::string averagingCheck(const apps::AppCtl& app, const GpsParms& parms, const GpsData& fix) {
  static const char* const kTexts[4] = {"DGPS Not Available", "Position Not 3D", "DOP Too High",
                                        "Too Few Satelittes"};
  const char* failed = nullptr;
  if (usesWarningFilters(app)) {
    if (!parms.logDuringWarnings())
      failed = lastFailing(parms.requireDgps(), parms.require3d(), parms.maxPdop(), parms.maxHdop(),
                           parms.minSatellites(), fix.quality, kTexts);
  } else if (fix.position.statusText.find_first_not_of(' ') == std::string::npos) {
    // The application's limits are applied only while the status line is
    // blank; a fix taken under any status text passes. This is the rule as
    // the averaging dialog has always had it, kept on purpose: tightening it
    // would refuse points crews could average before.
    const LogLimits l = applicationLimits(app);
    failed = lastFailing(l.requireDgps, l.require3d, l.maxDop, l.maxDop, l.minSatellites, fix.quality, kTexts);
  }
  return failed ? failed : kCollectingFixes;
}

void PointAverage::start(double latitude, double longitude, double height, int positions) {
  latitude_ = latitude;
  longitude_ = longitude;
  height_ = height;
  sumLatitude_ = sumLongitude_ = sumHeight_ = count_ = 0;
  accepted_ = 0;
  left_ = std::max(positions, 1);
  running_ = true;
}

void PointAverage::restart(double latitude, double longitude, double height, int requested) {
  latitude_ = sumLatitude_ = latitude;
  longitude_ = sumLongitude_ = longitude;
  height_ = sumHeight_ = height;
  count_ = 1;
  accepted_ = 0;
  left_ = std::clamp(requested, 1, kMostPositionsToAverage);
  running_ = true;
}

bool PointAverage::add(double latitude, double longitude, double height) {
  if (!wantsFix()) return false;
  sumLatitude_ += latitude;
  sumLongitude_ += longitude;
  sumHeight_ += height;
  count_ += 1;
  ++accepted_;
  latitude_ = sumLatitude_ / count_;
  longitude_ = sumLongitude_ / count_;
  height_ = sumHeight_ / count_;
  if (--left_ < 1) running_ = false;
  return true;
}

}  // namespace gps

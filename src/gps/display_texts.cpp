#include "gps/display_texts.hpp"

#include <cmath>
#include <cstdio>

namespace gps {

namespace {
std::string printed(const char* format, int value) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}
int rounded(double v) { return static_cast<int>(std::lround(v)); }
}  // namespace

std::string satellitesText(int satellites) { return printed("Sv:%d ", satellites); }

std::string hdopText(double hdop) { return hdop > 99.9 ? "Hd:High" : printed("Hd:%d", static_cast<int>(hdop)); }

std::string pdopText(double pdop, bool landscape) {
  return pdop > 99.9 && landscape ? "Pd:High" : printed("Pd:%d", static_cast<int>(pdop > 99999 ? 99999 : pdop));
}

std::string speedText(double speed, int velocityUnit) {
  const char* format = "%3d mph";
  switch (velocityUnit) {
    case kKph: format = "%3d kph"; break;
    case kKnots: format = "%3d knt"; break;
    case kMps: format = "%3d mps"; break;
    case kFps: format = "%3d fps"; break;
    default: break;
  }
  const double bounded = std::isfinite(speed) ? std::fmin(std::fmax(speed, -99999.0), 99999.0) : 0.0;
  std::string text = printed(format, rounded(bounded));
  if (text.size() < 17) text.append(17 - text.size(), ' ');
  return text;
}

std::string courseText(double course, bool magnetic) {
  const double bounded = std::isfinite(course) ? std::fmin(std::fmax(course, 0.0), 359.0) : 0.0;
  return printed(magnetic ? "%3d\u00B0M" : "%3d\u00B0T", rounded(bounded));
}

void refreshCourseTexts(GpsData& d) {
  d.texts.speed = speedText(d.quality.speed, d.parms.velocityUnit());
  d.texts.course = courseText(d.quality.course, d.parms.magneticBearing());
  d.texts.cog = "COG:" + d.texts.course + " " + d.texts.speed;
}

void resetSpeedTexts(GpsData& d) {
  d.quality.speed = 0;
  d.quality.course = 0;
  refreshCourseTexts(d);
}

}  // namespace gps

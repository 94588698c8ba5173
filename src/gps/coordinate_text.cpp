#include "gps/coordinate_text.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "gps/geodesy.hpp"

namespace gps {

namespace {

constexpr const char* kFormatNames[] = {"Raw Dec Deg", "Decimal Deg", "Deg Minutes",
                                        "Deg Min Sec", "UTM",         "UTM+Zone"};

// A value no text can be built from (not finite, or far outside any angle or
// height) is shown as 0 rather than as a garbled or overflowing text.
double bounded(double v, double limit) { return std::isfinite(v) && std::fabs(v) <= limit ? v : 0.0; }

template <class... Args>
std::string printed(const char* format, Args... args) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

// Whole degrees and the rest in units of 1/scale minute (or second), rounded
// once at the printed precision: a rest that would print as 60 has already
// carried into the degrees, so no text shows 60 minutes or 60 seconds.
struct Split {
  int degrees;
  std::int64_t rest;  // units below one degree
};
Split split(double absDegrees, std::int64_t unitsPerDegree) {
  const std::int64_t total = std::llround(absDegrees * static_cast<double>(unitsPerDegree));
  return {static_cast<int>(total / unitsPerDegree), total % unitsPerDegree};
}

// "%3d°%08.5f'": minutes to five decimals.
std::string degMinutes(double v, char hemisphere, const char* lead) {
  constexpr std::int64_t kUnitsPerMinute = 100000;
  const Split s = split(std::fabs(v), 60 * kUnitsPerMinute);
  return printed("%s%3d\u00B0%02lld.%05lld'%c ", lead, s.degrees, static_cast<long long>(s.rest / kUnitsPerMinute),
                 static_cast<long long>(s.rest % kUnitsPerMinute), hemisphere);
}

// "%3d°%02.0f'%05.2f\"": whole minutes, seconds to two decimals.
std::string degMinSec(double v, char hemisphere, const char* lead) {
  constexpr std::int64_t kUnitsPerSecond = 100;
  const Split s = split(std::fabs(v), 3600 * kUnitsPerSecond);
  const std::int64_t minutes = s.rest / (60 * kUnitsPerSecond);
  const std::int64_t seconds = s.rest % (60 * kUnitsPerSecond);
  return printed("%s%3d\u00B0%02lld'%02lld.%02lld\"%c ", lead, s.degrees, static_cast<long long>(minutes),
                 static_cast<long long>(seconds / kUnitsPerSecond), static_cast<long long>(seconds % kUnitsPerSecond),
                 hemisphere);
}

}  // namespace

const char* coordinateFormatName(int format) {
  return format >= kRawDecDeg && format <= kUtmZone ? kFormatNames[format] : kFormatNames[kDegMinSec];
}

CoordinateTexts coordinateTexts(double latitude, double longitude, int format) {
  // Latitudes beyond the poles and longitudes beyond a few turns are not
  // positions; bounding them keeps every text short and every integer in range.
  latitude = bounded(latitude, 1000.0);
  longitude = bounded(longitude, 1000.0);
  const char ns = latitude < 0 ? 'S' : 'N';
  const char ew = longitude < 0 ? 'W' : 'E';
  CoordinateTexts t;
  switch (format) {
    case kRawDecDeg:
      t.latitude = printed(" %14.8f ", latitude);
      t.longitude = printed("%14.8f ", longitude);
      break;
    case kDecimalDeg:
      t.latitude = printed(" %13.8f\u00B0%c ", std::fabs(latitude), ns);
      t.longitude = printed("%13.8f\u00B0%c ", std::fabs(longitude), ew);
      break;
    case kDegMinutes:
      t.latitude = degMinutes(latitude, ns, " ");
      t.longitude = degMinutes(longitude, ew, "");
      break;
    case kUtm:
    case kUtmZone: {
      const UtmPosition u = toUtm(kWgs84, latitude, longitude);
      if (format == kUtm) {
        t.latitude = printed("%10.1fN", u.northing);
        t.longitude = printed(" %10.1fE", u.easting);
      } else {
        t.latitude = printed("%10.1fN %s ", u.northing, u.zoneText.c_str());
        t.longitude = printed(" %10.1fE ", u.easting);
      }
      break;
    }
    default:  // Deg Min Sec, also for any unknown format
      t.latitude = degMinSec(latitude, ns, " ");
      t.longitude = degMinSec(longitude, ew, "");
      break;
  }
  return t;
}

std::string elevationText(double metres, bool metric) {
  const double m = bounded(metres, 1e9);
  return metric ? printed("%6.1f%c", m, 'M') : printed("%6.1f%c", m * 3.280839, 'F');
}

void formatPosition(Position& p, const GpsParms& parms) {
  const CoordinateTexts t = coordinateTexts(p.latitude, p.longitude, parms.coordinateFormat());
  p.latitudeText = t.latitude;
  p.longitudeText = t.longitude;
  p.elevationText =
      elevationText(parms.elevationMsl() ? p.altitudeMsl : p.heightEllipsoid, parms.unitOfMeasure() == kMetric);
}

void moveToPosition(GpsData& d, double latitude, double longitude) {
  Position& p = d.position;
  d.previousLatitude = p.valid ? p.latitude : latitude;
  d.previousLongitude = p.valid ? p.longitude : longitude;
  p.latitude = latitude;
  p.longitude = longitude;
  formatPosition(p, d.parms);
}

}  // namespace gps

#include "gps/geodesy.hpp"

#include <cmath>
#include <cstdio>

#include "gps/parms.hpp"

namespace gps {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadians = kPi / 180.0;

template <class... Args>
std::string printed(const char* format, Args... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

// The grid zone, with the Norway (zone 32) and Svalbard (31, 33, 35, 37)
// widenings; the bands are closed at the south and west edges.
int utmZone(double latitude, double longitude) {
  if (latitude >= 56 && latitude < 64 && longitude >= 3 && longitude < 12) return 32;
  if (latitude >= 72 && latitude < 84 && longitude >= 0 && longitude < 42) {
    if (longitude < 9) return 31;
    if (longitude < 21) return 33;
    if (longitude < 33) return 35;
    return 37;
  }
  const int zone = 1 + static_cast<int>(std::floor((longitude + 180.0) / 6.0));
  return zone > 60 ? 60 : zone < 1 ? 1 : zone;
}

// Brings a longitude into [-180, 180): 180 and -180 are the same meridian
// and both fall in zone 1.
double normalisedLongitude(double longitude) {
  double l = std::fmod(longitude + 180.0, 360.0);
  if (l < 0) l += 360.0;
  return l - 180.0;
}

}  // namespace

const std::vector<Ellipsoid>& ellipsoids() {
  static const std::vector<Ellipsoid> table = {
      {-1, "Placeholder", 0, 0},
      {1, "Airy", 6377563, 0.00667054},
      {2, "Australian National", 6378160, 0.006694542},
      {3, "Bessel 1841", 6377397, 0.006674372},
      {4, "Bessel 1841 (Nambia) ", 6377484, 0.006674372},
      {5, "Clarke 1866", 6378206, 0.006768658},
      {6, "Clarke 1880", 6378249, 0.006803511},
      {7, "Everest", 6377276, 0.006637847},
      {8, "Fischer 1960 (Mercury) ", 6378166, 0.006693422},
      {9, "Fischer 1968", 6378150, 0.006693422},
      {10, "GRS 1967", 6378160, 0.006694605},
      {11, "GRS 1980", 6378137, 0.00669438},
      {12, "Helmert 1906", 6378200, 0.006693422},
      {13, "Hough", 6378270, 0.00672267},
      {14, "International", 6378388, 0.00672267},
      {15, "Krassovsky", 6378245, 0.006693422},
      {16, "Modified Airy", 6377340, 0.00667054},
      {17, "Modified Everest", 6377304, 0.006637847},
      {18, "Modified Fischer 1960", 6378155, 0.006693422},
      {19, "South American 1969", 6378160, 0.006694542},
      {20, "WGS 60", 6378165, 0.006693422},
      {21, "WGS 66", 6378145, 0.006694542},
      {22, "WGS-72", 6378135, 0.006694318},
      {23, "WGS-84", 6378137, 0.00669438},
  };
  return table;
}

// Transverse Mercator by Krüger's series in the third flattening n, carried
// to n^6: millimetre-exact far beyond the 6° of a widened zone, where the
// older power series in longitude already drifts by centimetres.
UtmPosition toUtm(int ellipsoidIndex, double latitude, double longitude) {
  const auto& table = ellipsoids();
  const Ellipsoid& e =
      ellipsoidIndex >= 0 && ellipsoidIndex < static_cast<int>(table.size()) ? table[ellipsoidIndex] : table[kWgs84];
  UtmPosition u;
  if (!std::isfinite(latitude)) latitude = 0;
  if (!std::isfinite(longitude)) longitude = 0;
  latitude = std::fmax(-90.0, std::fmin(90.0, latitude));
  longitude = normalisedLongitude(longitude);
  u.zone = utmZone(latitude, longitude);
  u.zoneText = printed("%c%d", 'z', u.zone);

  const double a = e.semiMajor, e2 = e.eccentricitySquared;
  const double f = 1.0 - std::sqrt(1.0 - e2);
  const double n = f / (2.0 - f), n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n, n6 = n5 * n;
  const double rectifying = a / (1.0 + n) * (1.0 + n2 / 4.0 + n4 / 64.0 + n6 / 256.0);
  const double alpha[6] = {
      n / 2 - 2 * n2 / 3 + 5 * n3 / 16 + 41 * n4 / 180 - 127 * n5 / 288 + 7891 * n6 / 37800,
      13 * n2 / 48 - 3 * n3 / 5 + 557 * n4 / 1440 + 281 * n5 / 630 - 1983433 * n6 / 1935360,
      61 * n3 / 240 - 103 * n4 / 140 + 15061 * n5 / 26880 + 167603 * n6 / 181440,
      49561 * n4 / 161280 - 179 * n5 / 168 + 6601661 * n6 / 7257600,
      34729 * n5 / 80640 - 3418889 * n6 / 1995840,
      212378941 * n6 / 319334400,
  };

  const double phi = latitude * kRadians;
  const double dLambda = (longitude - (6.0 * u.zone - 183.0)) * kRadians;
  const double eccentricity = std::sqrt(e2);
  double xi, eta;  // conformal-sphere transverse coordinates
  if (std::fabs(latitude) >= 90.0) {
    xi = std::copysign(kPi / 2, latitude);
    eta = 0;
  } else {
    const double s = std::sin(phi);
    const double t = std::sinh(std::atanh(s) - eccentricity * std::atanh(eccentricity * s));
    xi = std::atan2(t, std::cos(dLambda));
    eta = std::asinh(std::sin(dLambda) / std::hypot(t, std::cos(dLambda)));
  }
  double x = eta, y = xi;
  for (int j = 1; j <= 6; ++j) {
    x += alpha[j - 1] * std::cos(2 * j * xi) * std::sinh(2 * j * eta);
    y += alpha[j - 1] * std::sin(2 * j * xi) * std::cosh(2 * j * eta);
  }
  constexpr double k0 = 0.9996;
  u.easting = 500000.0 + k0 * rectifying * x;
  u.northing = k0 * rectifying * y + (latitude < 0 ? 10000000.0 : 0.0);
  return u;
}

void distanceBearing(DistanceBearing& d, int distanceUnit, bool magnetic, double magneticVariation) {
  d.metres = d.feet = d.display = 0;
  d.bearing = 0;
  const double dLat = d.fromLatitude - d.toLatitude, dLon = d.fromLongitude - d.toLongitude;
  // Non-finite positions measure nothing; they count as a leg of no length.
  const bool measurable = std::isfinite(dLat) && std::isfinite(dLon);
  if (measurable && (std::fabs(dLat) >= 1e-7 || std::fabs(dLon) >= 1e-7)) {
    const double phi1 = d.fromLatitude * kRadians, phi2 = d.toLatitude * kRadians;
    const double phi = (phi1 + phi2) / 2.0;
    const double dPhi = dLat * kRadians, dLambda = dLon * kRadians;
    constexpr double kSecondEccentricity2 = 0.006739496742337;
    const double w = 1.0 - kSecondEccentricity2 * std::sin(phi) * std::sin(phi);
    const double m = 6335151.566466321 / std::pow(w, 1.5);  // meridian radius
    const double nu = 6378137.0 / std::sqrt(w);             // prime-vertical radius
    const double h = std::pow(std::sin(dPhi / 2), 2) +
                     std::cos(phi1) * std::cos(phi2) * std::pow(std::sin(dLambda / 2), 2);
    const double c = 2.0 * std::asin(std::sqrt(std::fmin(1.0, h)));
    // Due east and west legs put the ratio a rounding above 1.
    const double ratio = std::sin(dLambda) * std::cos(phi2) / std::sin(c);
    const double alpha = std::asin(std::fmax(-1.0, std::fmin(1.0, ratio)));
    // The radius of curvature along the leg's azimuth (Euler): meridian
    // radius due north, prime-vertical radius due east.
    const double sa = std::sin(alpha), ca = std::cos(alpha);
    d.metres = m * nu / (m * sa * sa + nu * ca * ca) * c;
    d.feet = d.metres / kMetresPerFoot;

    int b = static_cast<int>(std::lround(std::fabs(alpha) / kRadians));
    const bool north = d.toLatitude >= d.fromLatitude, east = d.toLongitude >= d.fromLongitude;
    if (north && !east) b = 360 - b;
    else if (!north && !east) b = 180 + b;
    else if (!north && east) b = 180 - b;
    b %= 360;
    // A leg of no length keeps bearing 0 in either reference.
    if (magnetic && std::isfinite(magneticVariation)) {
      double m = std::fmod(b + magneticVariation, 360.0);
      if (m < 0) m += 360.0;
      b = static_cast<int>(std::lround(m)) % 360;
    }
    d.bearing = b;
  }

  if (distanceUnit == kMeters || distanceUnit == kKilometer) {
    if (d.metres < 1000.0) {
      d.display = d.metres;
      d.unitName = "Meters";
    } else {
      d.display = d.metres / 1000.0;
      d.unitName = "KiloMeters";
    }
  } else if (distanceUnit == kNautMile && d.metres >= kMetresPerNauticalMile) {
    d.display = d.metres / kMetresPerNauticalMile;
    d.unitName = "Nautical Miles";
  } else if (distanceUnit != kNautMile && d.feet >= kFeetPerMile) {
    d.display = d.metres / kMetresPerMile;
    d.unitName = "Miles";
  } else {
    d.display = d.feet;
    d.unitName = "Feet";
  }
  d.distanceText = printed("%6.1f %s", d.display, d.unitName.c_str());
  d.bearingText = printed(magnetic ? "%3d\u00B0M" : "%3d\u00B0T", d.bearing);
}

}  // namespace gps

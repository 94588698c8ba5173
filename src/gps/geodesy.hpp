#pragma once
// Ellipsoids, the UTM grid, unit conversions and the distance and bearing
// between two positions.
#include <string>
#include <vector>

namespace gps {

struct Ellipsoid {
  int id = 0;
  const char* name = "";
  double semiMajor = 0;              // metres (whole metres as listed)
  double eccentricitySquared = 0;    // first eccentricity squared
};
// The ellipsoid table in its order, from "Placeholder" (id -1) to "WGS-84".
const std::vector<Ellipsoid>& ellipsoids();
inline constexpr int kWgs84 = 23;  // the entry every conversion uses

// Unit conversions.
inline constexpr double kMetresPerFoot = 0.3048000831495;  // feet = metres ÷ this
inline constexpr double kMetresPerMile = 1609.3444390292;
inline constexpr double kMetresPerNauticalMile = 1852.0;   // the distance display's nautical mile
inline constexpr double kFeetPerMile = 5280.0;

struct UtmPosition {
  double northing = 0, easting = 0;
  int zone = 0;
  std::string zoneText;  // "z%d"
};
// Latitude and longitude (degrees; longitude brought into -180..180) on the
// ellipsoid (an entry of ellipsoids(), kWgs84 for every conversion the
// program makes) to UTM with its zone, including the Norway and Svalbard
// exceptions. Southern latitudes carry the false northing 10000000.
UtmPosition toUtm(int ellipsoidIndex, double latitude, double longitude);

// The distance record: two positions in, distance and bearing out.
struct DistanceBearing {
  double fromLatitude = 0, fromLongitude = 0, toLatitude = 0, toLongitude = 0;  // degrees
  double metres = 0, feet = 0;
  double display = 0;       // in the display unit
  int bearing = 0;          // whole degrees 0-359
  std::string unitName;     // "Meters", "KiloMeters", "Feet", "Miles", "Nautical Miles"
  std::string distanceText; // "%6.1f %s"
  std::string bearingText;  // "%3d°T" or "%3d°M"
};
// Fills distance and bearing of d from its two positions. distanceUnit is
// the distance setting (1 "Meters" ... 5 "Naut Mile"); with magnetic the
// variation (degrees, easterly negative) is added and the text ends "°M".
void distanceBearing(DistanceBearing& d, int distanceUnit, bool magnetic, double magneticVariation);

}  // namespace gps

#pragma once
// The texts of a position in the six coordinate formats, and its elevation.
#include <string>

#include "gps/gps_state.hpp"

namespace gps {

// The names of the coordinate formats, index 0-5 ("Raw Dec Deg" ... "UTM+Zone").
const char* coordinateFormatName(int format);

struct CoordinateTexts {
  std::string latitude, longitude;  // UTF-8, the degree sign U+00B0
};
// The latitude and longitude texts of format (anything outside 0-5 is
// taken as Deg Min Sec). Seconds that round to 60 carry into the minutes,
// minutes into the degrees. Formats 4 and 5 show the WGS-84 UTM grid.
CoordinateTexts coordinateTexts(double latitude, double longitude, int format);

// "%6.1f%c": metres with 'M' when metric, else feet (metres × 3.280839)
// with 'F'. metres is the height the elevation reference selects.
std::string elevationText(double metres, bool metric);

// Fills the latitude, longitude and elevation texts of p from its values,
// by the coordinate format, unit of measure and elevation reference of parms.
void formatPosition(Position& p, const GpsParms& parms);

// Moves d's position to a new one a receiver reported and formats it (with
// the heights already set). The one before is kept for navigation, or is the
// new one itself when there was no valid fix.
void moveToPosition(GpsData& d, double latitude, double longitude);

}  // namespace gps

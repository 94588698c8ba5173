#pragma once
// The short display texts of the receiver state: satellites, dilution of
// precision, speed and course, as the status line shows them.
#include <string>

#include "gps/gps_state.hpp"

namespace gps {

// Conversions of the velocity and distance units.
inline constexpr double kMetresPerStatuteMile = 1609.3444390292;
inline constexpr double kMetresPerNauticalMileOfSpeed = 1853.321055986;  // the receiver's knot
inline constexpr double kFeetPerMetre = 3.280839;

std::string satellitesText(int satellites);        // "Sv:%d "
std::string hdopText(double hdop);                 // "Hd:%d", "Hd:High" above 99.9
std::string pdopText(double pdop, bool landscape); // "Pd:%d", "Pd:High" above 99.9 in landscape
// speed (already in the unit) rounded to nearest: "%3d kph" ... "%3d fps",
// padded with blanks to 17 characters.
std::string speedText(double speed, int velocityUnit);
// course rounded to nearest: "%3d°T", or "%3d°M" when magnetic.
std::string courseText(double course, bool magnetic);
// The speed and course texts and "COG:%s %s" from quality's course and speed.
void refreshCourseTexts(GpsData& d);
// Speed 0 and course 0 in the units of d.parms (the state at a reader's start
// and after the velocity unit changed).
void resetSpeedTexts(GpsData& d);

}  // namespace gps

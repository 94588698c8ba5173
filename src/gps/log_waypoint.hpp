#pragma once
// The main window's "Log Waypoint": a waypoint named by the local date and
// time captured at the current fix (optionally averaged) and appended to
// the installation's waypoint table.
#include <functional>
#include <string>

#include "gps/gps_state.hpp"
#include "platform/clock.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr const char* kGpsNotEnabledText = "GPS Not Enabled";
inline constexpr const char* kGpsNotDetectedText = "GPS Not Detected";
inline constexpr const char* kNotCapturedText = "WayPoint NOT Captured !";
inline constexpr const char* kLogAbortedText = "WayPoint Log Aborted";

// The default waypoint name: "MM/DD/YYYY hh:mm:ss " of localNow.
std::string defaultWaypointName(const platform::DateTime& localNow);

// Refuses (top-most box, caption "Error") with "GPS Not Enabled" while GPS is
// off, and with "GPS Not Detected" while the receiver is silent or has no
// valid fix. Otherwise runs "Capture Waypoint" (redraw called as it ends) and,
// when it stores, appends the waypoint to settingsFolder + sep +
// "Waypoints.dbf" (made when missing) and beeps. A Cancel shows "WayPoint Log
// Aborted"; a waypoint that could not be stored "WayPoint NOT Captured !".
// Returns 1 when a record was appended, 0 otherwise.
[[nodiscard]] int logWaypoint(ui::Host& host, const std::string& settingsFolder, char sep, bool gpsEnabled,
                              bool detected, GpsState& gps, const platform::DateTime& localNow,
                              const std::function<void()>& redraw);

}  // namespace gps

#pragma once
// "Select Waypoint to Edit": a record browser over the installation's
// waypoint table, with adding, editing and deleting through the capture
// dialog.
#include <functional>
#include <string>

#include "gps/gps_state.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kWaypointBrowser = 260;
inline constexpr int kBrowserRecordText = 2601, kBrowserNameText = 2602, kBrowserLatitudeText = 2603,
                     kBrowserLongitudeText = 2604, kFirstWaypointButton = 2605, kLastWaypointButton = 2606,
                     kPreviousWaypointButton = 2607, kNextWaypointButton = 2608, kAddWaypointButton = 2609,
                     kEditWaypointButton = 2610, kDeleteWaypointButton = 2611;

// Opens settingsFolder + sep + "Waypoints.dbf", creating it when missing
// ("Can't Open/Create WayPoint file", caption "File Open Error", and 0 when
// neither works), and shows the browser on it; the capture dialog takes
// fixes only while gpsEnabled. On closing, a file created here that never
// got a record, or any file left with none, is deleted, and redraw (may be
// empty) is called. Returns 1 when the browser was shown.
[[nodiscard]] int editWaypoints(ui::Host& host, const std::string& settingsFolder, char sep, bool gpsEnabled,
                                GpsState& gps, const std::function<void()>& redraw);

}  // namespace gps

#pragma once
// "Capture Waypoint": a name and a position taken from the GPS state, once
// ("Re-Capture") or as the mean of several fixes ("&Avg", driven by a 999 ms
// timer). The waypoint browser shows the same dialog with "Capture GPS" and
// position fields the user may type into.
#include <functional>

#include "gps/gps_state.hpp"
#include "gps/waypoint_table.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kCaptureDialog = 259;
inline constexpr int kWaypointNameEntry = 2591, kWaypointLatitudeText = 2592, kWaypointLongitudeText = 2593,
                     kRecaptureButton = 2594, kAverageToggle = 2595, kPositionsLeftEntry = 2596,
                     kWaypointPositionGroup = 2590;
inline constexpr int kCaptureTimer = 1;
inline constexpr int kCaptureTickMs = 999;
inline constexpr int kDefaultPositionsLeft = 60, kMostPositionsLeft = 500;

enum class CaptureMode {
  kCapture,  // the position in the coordinate format, shown only
  kBrowser,  // "Capture GPS"; "%14.8f" texts, read back from the fields on OK
};

struct CaptureSetup {
  CaptureMode mode = CaptureMode::kCapture;
  // Whether the GPS port is open: only then are the state's fixes taken.
  bool gpsEnabled = true;
  // Called when the dialog ends by OK or Cancel (the main window redrawn); may be empty.
  std::function<void()> redraw;
};

// Shows the dialog over gps with waypoint's name (8-bit) and position. Only
// valid fixes are taken: "Re-Capture" or switching averaging on without one
// beeps and keeps what is shown. Returns 1 when OK stored the waypoint
// (waypoint then holds the name as 8-bit text, at most 25 characters, and
// the position), 0 on Cancel (waypoint untouched); another value when the
// host could not show the dialog.
[[nodiscard]] int captureWaypoint(ui::Host& host, GpsState& gps, const CaptureSetup& setup,
                                  WaypointRecord& waypoint);

}  // namespace gps

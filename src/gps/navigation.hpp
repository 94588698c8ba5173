#pragma once
// The navigation display: from a start to a destination among the
// waypoints, the bearing and distance to go, the legs, the background points
// and the track of the last positions, redrawn with every status update.
#include <functional>
#include <string>
#include <vector>

#include "gps/gps_state.hpp"
#include "gps/waypoint_table.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kNavMenu = 202;
inline constexpr int kNavBackgroundCommand = 20201, kNavFromToCommand = 20202, kNavPresentationCommand = 20203;
inline constexpr char kNavWindowClass[] = "NavGraphWin";
inline constexpr char kNavWindowTitle[] = "Graphical Navigation Window";
// The window redraws at the pace of the receiver's status updates.
inline constexpr int kNavRedrawMs = 1000;

struct NavigationContext {
  bool gpsEnabled = false;
  bool detected = false;       // the receiver sends
  GpsState* gps = nullptr;     // the live state
  std::string waypointTable;   // the "Waypoints.dbf" to navigate by
  bool landscape = true;
  // "Navigation Presentation", after which the receiver has the new settings.
  std::function<void()> presentation;
};

// The selections, which last while the program runs.
class Navigation {
 public:
  // Refuses (caption "Error") with "GPS Not Enabled", "GPS Not Detected" or
  // "No Waypoints Available\nMust create Waypoints First"; otherwise asks for
  // the start and destination (Cancel abandons) and shows the window until
  // F4 or Escape closes it. A window that cannot be made is reported with
  // "CreateGraphWin error=%d.\r\n". Returns 1 when the window was shown, 0
  // otherwise.
  int open(ui::Host& host, const NavigationContext& context);

  int start() const { return start_; }
  int destination() const { return destination_; }

 private:
  int start_ = 0, destination_ = 0;
  std::vector<WaypointEntry> background_;
  bool includeTrack_ = true;
};

}  // namespace gps

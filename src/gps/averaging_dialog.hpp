#pragma once
// "Averaging Points": collects new fixes that pass the quality tests into
// one point position, shown as it grows, until the requested number has been
// taken; then stores it (at once with "Auto Store After Averaging").
#include <string>

#include "apps/app_ctl.hpp"
#include "gps/gps_state.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kAveragingDialog = 256;
inline constexpr int kAverageLatitudeText = 2561, kAverageLongitudeText = 2562, kAverageElevationText = 2563,
                     kPointsLeftEntry = 2564, kAverageStatusText = 2565, kAverageFixText = 2566,
                     kAverageMessageText = 2567, kAutoStoreCheck = 2568, kRestartButton = 2569;
inline constexpr int kAveragingTimer = 1;
inline constexpr int kAveragingTickMs = 499;

// The point the dialog stored: the average and its texts (the height above
// the ellipsoid, in the coordinate format and units of GPS_Parms.dft).
struct AveragedPoint {
  double latitude = 0, longitude = 0, heightEllipsoid = 0;
  std::string latitudeText, longitudeText, elevationText;
};

// Shows the dialog over the live position state gps. GPS_Parms.dft is read
// at opening; the state's elevation reference is height above the ellipsoid
// while the dialog is open and is restored after. The average starts at the
// current position and takes up to positionsToAverage fixes (at least 1) as
// they arrive, each tested by averagingCheck() with app's limits.
// allowUnfinished lets OK store an average still short of its count (after
// a Yes/No question). OK is refused while no fix at all has been averaged:
// the start position alone may be stale.
// Returns 1 when a point was stored: out holds it and the "Auto Store After
// Averaging" choice is written to GPS_Parms.dft. Returns 0 on Cancel (out
// untouched).
[[nodiscard]] int averagingDialog(ui::Host& host, const std::string& installRoot, char sep, GpsState& gps,
                                  const apps::AppCtl& app, int positionsToAverage, bool allowUnfinished,
                                  AveragedPoint& out);

}  // namespace gps

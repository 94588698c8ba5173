#pragma once
// Whether a fix is good enough: the acceptance test of the logging threads
// (with the limits fixed when a log starts), the tests of the point-averaging
// dialog, and the averaging of accepted fixes into one point.
#include <string>

#include "apps/app_ctl.hpp"
#include "gps/gps_state.hpp"

namespace gps {

// The limits a logging thread applies to each new fix.
struct LogLimits {
  bool testOn = true;  // false: every fix is logged
  bool requireDgps = false;
  bool require3d = false;
  int minSatellites = 0;
  double maxDop = 0;  // for PDOP and HDOP alike
};

// The limits in force when a log starts. The application's five limits when
// its use-the-warning-filters flag is 0; otherwise the GPS warning filters of
// parms, with "Log During Active Warnings" switching the test off and one DOP
// limit: the larger of the maximum PDOP and HDOP, rounded to nearest.
LogLimits loggingLimits(const apps::AppCtl& app, const GpsParms& parms);

// The message-line width of a failed acceptance test.
inline constexpr std::size_t kAcceptMessageWidth = 48;

// "" when fix passes (or the test is off). Otherwise every check runs and the
// message of the last one failing is returned, padded with blanks to 48:
// "DGPS Not Available", "3D Positions Not Available", "DOP Too High" (PDOP,
// then HDOP), "Too Few Satellites".
std::string acceptFix(const LogLimits& limits, const GpsData& fix);

// The averaging dialog's text for a fix that passes.
inline constexpr const char* kCollectingFixes = "Collecting Fixes";

// The averaging dialog's test of one new fix: kCollectingFixes when the fix
// is used, else why not ("DGPS Not Available", "Position Not 3D", "DOP Too
// High", "Too Few Satelittes"; the last failing check names it).
//  - The application's use-the-warning-filters flag set: the warning filters
//    of parms, unless "Log During Active Warnings" lets every fix pass.
//  - Otherwise the application's limits (its one DOP limit for PDOP and
//    HDOP), but only while the fix's status text is blank: a fix taken while
//    the status line shows anything passes unchecked.
std::string averagingCheck(const apps::AppCtl& app, const GpsParms& parms, const GpsData& fix);

// The most positions one point averages after a Restart.
inline constexpr int kMostPositionsToAverage = 500;

// The running average of a point: started from a position (shown as the
// average until a fix is accepted), fed accepted fixes until the requested
// number have been taken.
class PointAverage {
 public:
  // The shown average becomes the position; sums and count are 0; positions
  // left = positions (held to at least 1, or averaging could never end);
  // averaging runs.
  void start(double latitude, double longitude, double height, int positions);
  // The position becomes the first sum (count 1); positions left = requested
  // held to 1..500; averaging runs.
  void restart(double latitude, double longitude, double height, int requested);
  // Averaging stops where it stands.
  void stop() { running_ = false; }
  // Takes an accepted fix while averaging runs and positions are left: the
  // sums grow, the average is remade, positions left drops by 1 and at 0
  // averaging stops. False (nothing changed) when no fix is wanted.
  bool add(double latitude, double longitude, double height);

  bool running() const { return running_; }
  bool wantsFix() const { return running_ && left_ >= 1; }
  // Averaging has taken all the positions it asked for.
  bool finished() const { return !running_ && left_ < 1; }
  int positionsLeft() const { return left_; }
  // Fixes taken by add() since the last start or restart.
  int accepted() const { return accepted_; }
  double latitude() const { return latitude_; }
  double longitude() const { return longitude_; }
  double height() const { return height_; }

 private:
  bool running_ = false;
  int left_ = 0, accepted_ = 0;
  double sumLatitude_ = 0, sumLongitude_ = 0, sumHeight_ = 0, count_ = 0;
  double latitude_ = 0, longitude_ = 0, height_ = 0;
};

}  // namespace gps

#pragma once
// What the main window's GPS status block and the edit window's GPS status
// line show, from a copy of the position state.
#include <string>
#include <vector>

#include "gps/gps_state.hpp"

namespace gps {

struct StatusView {
  bool enabled = false;   // the GPS port is open
  bool detected = false;  // sentences arrive
  GpsData data;
  std::string clockNote;  // why GPS time did not set the clock, once refused
};

// The main window's block: the position, the quality and course, the GPS
// time and the status (warning) line. Empty when GPS is off.
std::vector<std::string> mainStatusLines(const StatusView& view);

// The edit window's one line: the status text while it holds a warning,
// else the position with satellites and fix type. Empty when GPS is off.
std::string editStatusLine(const StatusView& view);

}  // namespace gps

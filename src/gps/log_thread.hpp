#pragma once
// One running line or polygon log: a thread that takes each new fix of its
// consumer, applies the logging interval and the acceptance test, and
// appends the fixes that pass to the record's coordinate file.
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "gps/coordinate_file.hpp"
#include "gps/gps_state.hpp"

namespace gps {

// The interval rule. interval 0 or more: seconds between fix times of day;
// negative: its absolute value is the minimum distance in feet from the last
// logged position (wholeFeet: the distance is truncated to whole feet first,
// as the polygon log does). With no last logged fix (last null) the fix
// always passes.
//
// The times are the fixes' times of day as hhmmss numbers and their
// difference is taken as a number: across a minute or hour boundary it is
// larger than the seconds that passed, so such a fix may be logged early.
// That is the system's rule for logged lines and is kept.
[[nodiscard]] bool intervalPasses(int interval, bool wholeFeet, const Position* last, const Position& current);

// Everything one log needs.
struct LogRequest {
  LogShape shape = LogShape::kLine;  // kLine or kPolygon
  int interval = 0;                  // the level's line or polygon interval (see intervalPasses)
  // "" accepts a fix; otherwise the message why it is refused. Empty: every
  // fix is accepted. Called on the log thread.
  std::function<std::string(const GpsData&)> acceptance;
  std::string path;                  // the coordinate file
  int level = 1;                     // 1-5: the key fields of the file
  std::vector<std::string> keys;     // of levels 1..level
  std::string levelName;             // the first part of the progress message
  std::string fType;                 // "LINE", "POLY", "Line" or "Poly"
  // Called on the log thread with "%s:%s Positions logged:%d" (level name,
  // F_TYPE, the file's record count) after each stored fix, or with the
  // acceptance message of a refused fix. It must only post to the UI.
  std::function<void(const std::string&)> message;
  // The "Position Recording Interval" setting: not 0, the thread rests
  // 55 ms after a stored fix; 0 (and after every pass without one) 5 ms.
  int recordingInterval = 0;
};

class LogThread {
 public:
  LogThread() = default;
  // Stops a running log.
  ~LogThread();
  LogThread(const LogThread&) = delete;
  LogThread& operator=(const LogThread&) = delete;

  // Starts the thread on state (which must outlive it, or stop must come
  // first). False (nothing started) while a log runs, for a point shape or
  // a level outside 1-5.
  [[nodiscard]] bool start(GpsState& state, LogRequest request);
  // Asks the thread to end and waits until it has: a fix it holds is stored
  // first, so no record is left half written and the GPS lock is never held
  // by a thread that is gone. Nothing happens when none runs.
  void stop();
  bool running() const { return thread_.joinable(); }

 private:
  static void run(GpsState& state, const LogRequest& request, const std::atomic<bool>& stopping);

  LogRequest request_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace gps

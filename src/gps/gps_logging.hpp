#pragma once
// GPS logging for the edit window's records: Ctrl+G starts a point, a line
// or a polygon for the current record of the current level (as the level's
// GPS definition allows) and stops a running log; a move away from the
// record a line or polygon is logged for asks to stop it first. Runs on the
// UI thread; the log itself runs on its LogThread.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "editor/engine_hooks.hpp"
#include "gps/coordinate_file.hpp"

namespace ui { class Host; }

namespace gps {

class GpsState;
class LogThread;
struct LevelLogging;

class GpsLogging {
 public:
  // gpsEnabled says whether the receiver's port is open; state is its
  // position state (both outlive this).
  GpsLogging(ui::Host& host, std::function<bool()> gpsEnabled, GpsState& state, std::string installRoot, char sep);
  // Stops a running log.
  ~GpsLogging();
  GpsLogging(const GpsLogging&) = delete;
  GpsLogging& operator=(const GpsLogging&) = delete;

  // Ctrl+G on the current record of e. "Must Enable GPS First" while GPS is
  // off. Always true: the key is taken.
  bool toggle(editor::Engine& e);
  // Whether the current line of e may be left by move: true when no line or
  // polygon log runs, when e is deeper than the level the log belongs to, or
  // for a move into a child level; otherwise the crew is asked to stop the
  // log (Yes stops it and allows the move).
  bool lineMoveAllowed(editor::Engine& e, editor::LineMove move);
  // The edit window closed: a running log is stopped.
  void stopAll();
  bool logging() const;
  // The logging message for the edit window's GPS line: while a line or
  // polygon log runs its last one ("%s:%s Positions logged:%d" or why a fix
  // was refused); for 10 s after a point "Point Position logged:"; else empty.
  std::string message() const;

 private:
  bool logPoint(editor::Engine& e, const LevelLogging& level);
  bool startLog(editor::Engine& e, const LevelLogging& level, LogShape shape, const std::string& fType);
  void stop();
  // The coordinate file of the current record for shape; empty when it cannot be named.
  std::string fileFor(editor::Engine& e, LogShape shape, std::vector<std::string>& keys) const;
  void setMessage(const std::string& text);

  ui::Host& host_;
  std::function<bool()> gpsEnabled_;
  GpsState& state_;
  std::string installRoot_;
  char sep_;
  std::unique_ptr<LogThread> thread_;
  int logLevel_ = 0;
  LogShape logShape_ = LogShape::kLine;
  std::string logLevelName_;
  // Written by the log thread, read by the UI thread.
  std::shared_ptr<std::mutex> messageLock_ = std::make_shared<std::mutex>();
  std::shared_ptr<std::string> message_ = std::make_shared<std::string>();
  std::uint64_t pointLogged_ = 0;  // platform clock ticks of the last point, 0 none
};

}  // namespace gps

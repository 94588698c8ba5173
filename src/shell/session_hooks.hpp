#pragma once
// The engine's hooks as the program plugs them in: the runtime programs and
// sensors, and the GPS status line from the main window's GPS commands.
#include <string>

#include "gps/gps_logging.hpp"
#include "runtime/program_hooks.hpp"
#include "shell/gps_commands.hpp"

namespace shell {

class SessionHooks : public runtime::ProgramHooks {
 public:
  // gps and logging outlive these hooks.
  void attachGps(GpsCommands& gps, gps::GpsLogging& logging) {
    gps_ = &gps;
    logging_ = &logging;
  }
  // The position (or the warning), after the last logging message while a log runs.
  std::string gpsStatusLine() override {
    std::string line = gps_ ? gps_->editStatusLine() : std::string();
    if (logging_ && !line.empty()) {
      const std::string message = logging_->message();
      if (!message.empty()) line = message + "  " + line;
    }
    return line;
  }
  // Ctrl+N: the main window's Navigation command, over the edit window.
  bool openNavigation() override {
    if (!gps_) return false;
    gps_->navigation();
    return true;
  }
  bool toggleGpsLog(editor::Engine& e) override { return logging_ && logging_->toggle(e); }
  bool lineMoveAllowed(editor::Engine& e, editor::LineMove move) override {
    return !logging_ || logging_->lineMoveAllowed(e, move);
  }
  // A log never outlives the edit window.
  void editWindowClosed() override {
    if (logging_) logging_->stopAll();
    runtime::ProgramHooks::editWindowClosed();
  }

 private:
  GpsCommands* gps_ = nullptr;
  gps::GpsLogging* logging_ = nullptr;
};

}  // namespace shell

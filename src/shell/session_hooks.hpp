#pragma once
// The engine's hooks as the program plugs them in: the runtime programs and
// sensors, and the GPS status line from the main window's GPS commands.
#include <string>

#include "runtime/program_hooks.hpp"
#include "shell/gps_commands.hpp"

namespace shell {

class SessionHooks : public runtime::ProgramHooks {
 public:
  // gps outlives these hooks.
  void attachGps(const GpsCommands& gps) { gps_ = &gps; }
  std::string gpsStatusLine() override { return gps_ ? gps_->editStatusLine() : std::string(); }

 private:
  const GpsCommands* gps_ = nullptr;
};

}  // namespace shell

#pragma once
// The main window's GPS commands: connecting and disconnecting the
// receiver, the GPS settings dialogs, and the GPS status block.
#include <string>
#include <vector>

#include "gps/navigation.hpp"
#include "gps/receiver.hpp"

namespace ui { class Host; }

namespace shell {

struct StartupValues;

// What the program's receiver runs on: the host, the settings folder, the
// native clock setter and sounds, the screen's orientation.
gps::ReceiverServices gpsServices(ui::Host& host, const StartupValues& values);

class GpsCommands {
 public:
  GpsCommands(ui::Host& host, StartupValues& values, gps::Receiver& receiver)
      : host_(host), values_(values), receiver_(receiver) {}

  // Connect / Disconnect: closes an open GPS port, else opens it; a port
  // that does not open leaves GPS disabled and its settings file written back.
  void connectOrDisconnect();
  // Port Settings: while the port is open it must be closed first (asked);
  // after new settings the port may be opened with them (asked).
  void portSettings();
  // Warning Filters, Presentation ("View Properties"), Navigation
  // Parameters ("Navigation Presentation"), Position Logging Setup: the
  // dialog, then the receiver takes the new settings.
  void warningFilters();
  void presentation();
  void navigationParameters();
  void loggingSetup();
  // Log Waypoint: the current position captured into "Waypoints.dbf" of the
  // settings folder. Edit Waypoints: the browser over that table.
  void logWaypoint();
  void editWaypoints();
  // Navigation: with an application that carries its own "Waypoints.dbf"
  // the crew chooses which table to navigate by ("Use Application
  // Waypoints?"), then the navigation display. The start, destination and
  // background points last while the program runs.
  void navigation();
  // Closing the program: an open GPS port is closed.
  void shutdown();

  // The GPS status block of the main window (empty while GPS is off) and
  // the edit window's GPS status line.
  std::vector<std::string> statusLines() const;
  std::string editStatusLine() const;

 private:
  ui::Host& host_;
  StartupValues& values_;
  gps::Receiver& receiver_;
  gps::Navigation navigation_;
};

}  // namespace shell

#include "shell/gps_commands.hpp"

#include "gps/log_waypoint.hpp"
#include "gps/logging_dialog.hpp"
#include "gps/port_dialog.hpp"
#include "gps/presentation_dialog.hpp"
#include "gps/receiver.hpp"
#include "gps/status_view.hpp"
#include "gps/view_dialog.hpp"
#include "gps/warning_filters_dialog.hpp"
#include "gps/waypoint_browser.hpp"
#include "platform/clock.hpp"
#include "platform/clock_set.hpp"
#include "platform/fileops.hpp"
#include "shell/startup.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

gps::StatusView viewOf(const gps::Receiver& receiver) {
  gps::StatusView view;
  view.enabled = receiver.enabled();
  view.detected = receiver.detected();
  if (view.enabled) view.data = receiver.state().snapshot();
  view.clockNote = receiver.clockNote();
  return view;
}

}  // namespace

gps::ReceiverServices gpsServices(ui::Host& host, const StartupValues& values) {
  gps::ReceiverServices s;
  s.host = &host;
  s.installRoot = values.installRoot;
  s.sep = values.style.sep;
  s.clockSetter = &platform::nativeClockSetter();
  s.landscape = !values.geometry.portrait;
  return s;
}

void GpsCommands::logWaypoint() {
  (void)gps::logWaypoint(host_, values_.installRoot, values_.style.sep, receiver_.enabled(), receiver_.detected(),
                         receiver_.state(), platform::clock().localTime(), {});
}

void GpsCommands::editWaypoints() {
  (void)gps::editWaypoints(host_, values_.installRoot, values_.style.sep, receiver_.enabled(), receiver_.state(), {});
}

void GpsCommands::navigation() {
  const char sep = values_.style.sep;
  std::string table = gps::waypointTablePath(values_.installRoot, sep);
  const std::string appFolder = values_.settings.path(config::SettingsRecord::Path::AppFolder);
  if (!appFolder.empty()) {
    const std::string appTable = gps::waypointTablePath(appFolder, sep);
    if (platform::fileExists(appTable) &&
        ui::askYesNo(host_, "Use Application Waypoints?", "Waypoint Types") == ui::kIdYes)
      table = appTable;
  }
  gps::NavigationContext context;
  context.gpsEnabled = receiver_.enabled();
  context.detected = receiver_.detected();
  context.gps = &receiver_.state();
  context.waypointTable = table;
  context.landscape = !values_.geometry.portrait;
  context.presentation = [this] { navigationParameters(); };
  (void)navigation_.open(host_, context);
}

void GpsCommands::connectOrDisconnect() {
  if (receiver_.enabled()) {
    receiver_.disconnectGps();
    return;
  }
  if (receiver_.connectGps() == 1) return;
  // Stays disabled; the settings it tried are kept for the next try.
  gps::GpsPortImage image = receiver_.portSettings();
  image.setDetected(false);
  (void)gps::writeGpsPort(host_, values_.installRoot, image, values_.style.sep);
}

void GpsCommands::portSettings() {
  const bool wasOpen = receiver_.enabled();
  if (wasOpen) {
    if (ui::askYesNo(host_, "GPS Port Active\nClose Port to Change Settings?", "") != ui::kIdYes) return;
    receiver_.disconnectGps();
  }
  gps::GpsPortImage image = receiver_.portSettings();
  if (gps::portSettingsDialog(host_, values_.installRoot, values_.style.sep, image) != 1) {
    if (wasOpen) (void)receiver_.connectGps();
    return;
  }
  receiver_.resetState();
  if (ui::askYesNo(host_, "Open the GPS Port With New Settings?", "") == ui::kIdYes)
    connectOrDisconnect();
}

void GpsCommands::warningFilters() {
  gps::GpsParms parms;
  if (gps::warningFiltersDialog(host_, values_.installRoot, values_.style.sep, parms) == 1)
    receiver_.reloadParms();
}

void GpsCommands::presentation() {
  gps::GpsParms parms;
  if (gps::viewPropertiesDialog(host_, values_.installRoot, values_.style.sep, parms) == 1)
    receiver_.reloadParms();
}

void GpsCommands::navigationParameters() {
  gps::GpsParms parms;
  if (gps::presentationDialog(host_, values_.installRoot, values_.style.sep, parms) == 1)
    receiver_.reloadParms();
}

void GpsCommands::loggingSetup() {
  gps::GpsParms parms;
  if (gps::loggingParametersDialog(host_, values_.installRoot, values_.style.sep, parms) == 1) receiver_.reloadParms();
}

void GpsCommands::shutdown() { receiver_.disconnectGps(); }

std::vector<std::string> GpsCommands::statusLines() const { return gps::mainStatusLines(viewOf(receiver_)); }

std::string GpsCommands::editStatusLine() const { return gps::editStatusLine(viewOf(receiver_)); }

}  // namespace shell

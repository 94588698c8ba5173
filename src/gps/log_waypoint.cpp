#include "gps/log_waypoint.hpp"

#include "base/text.hpp"
#include "gps/capture_dialog.hpp"
#include "gps/waypoint_table.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {
constexpr const char* kCaption = "Log Waypoint";

void refuse(ui::Host& host, const char* text) {
  (void)host.messageBox(text, "Error", ui::kMbOk | ui::kMbIconStop | ui::kMbTopmost);
}
}  // namespace

std::string defaultWaypointName(const platform::DateTime& t) {
  return base::format("%02d/%02d/%04d", t.month, t.day, t.year) + " " +
         base::format("%02d:%02d:%02d ", t.hour, t.minute, t.second);
}

int logWaypoint(ui::Host& host, const std::string& settingsFolder, char sep, bool gpsEnabled, bool detected,
                GpsState& gps, const platform::DateTime& localNow, const std::function<void()>& redraw) {
  if (!gpsEnabled) {
    refuse(host, kGpsNotEnabledText);
    return 0;
  }
  WaypointRecord waypoint;
  waypoint.name = defaultWaypointName(localNow);
  // A receiver that talks but has never had a fix gives no position to keep.
  const bool valid = gps.withLock([&waypoint](GpsData& d) {
    waypoint.latitude = d.position.latitude;
    waypoint.longitude = d.position.longitude;
    return d.position.valid != 0;
  });
  if (!detected || !valid) {
    refuse(host, kGpsNotDetectedText);
    return 0;
  }
  CaptureSetup setup;
  setup.redraw = redraw;
  const int result = captureWaypoint(host, gps, setup, waypoint);
  if (result == 0) {
    ui::inform(host, kLogAbortedText, kCaption);
    return 0;
  }
  bool stored = false;
  if (result == 1) {
    const std::string path = waypointTablePath(settingsFolder, sep);
    WaypointTable table;
    const WaypointTable::Opened opened = table.open(path);
    stored = opened != WaypointTable::Opened::kFailed && table.append(waypoint);
    (void)table.close();  // the record was flushed by the append
    // A table made for this waypoint alone is not left behind empty.
    if (!stored && opened == WaypointTable::Opened::kCreated) (void)platform::deleteFile(path);
  }
  if (!stored) {
    ui::inform(host, kNotCapturedText, kCaption);
    return 0;
  }
  host.beep();
  return 1;
}

}  // namespace gps

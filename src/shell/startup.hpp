#pragma once
// The program's start-up sequence and shutdown, written once for both front
// ends: geometry from the command line, the install folder and root, the
// registry values, the folder tree, the settings record (read twice) and the
// process-wide start-up values. Front ends supply what only they can (the
// screen's work area, the main window) through StartupHooks.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

#include "config/process_values.hpp"
#include "platform/system.hpp"
#include "tablestore/table_store.hpp"

namespace ui { class Host; }

namespace shell {

inline constexpr const char* kSoftwareVersion = "4.13.05";
inline constexpr const char* kSoftwareDate = "09/29/2020";
// The two texts the about box shows.
inline constexpr const char* kAboutVersionText = " 4.13.05";
inline constexpr const char* kAboutDateText = "Date: 09/29/2020 ";

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
  bool portrait = false;
  int buttonColumns = 6, buttonRows = 1;
};

// Up to four integers, each after a "/": x, y, width, height, each read as a
// decimal conversion reads (leading blanks, a sign, digits). A missing or
// zero width or height gives the centred default (at most 1024 × 768); a
// negative width or height is kept; a negative x or y becomes 0.
Geometry computeGeometry(std::string_view commandLine, int screenWidth, int screenHeight);

struct InstallLocation {
  std::string installFolder;
  std::string installRoot;
};
// The install folder is the executable's folder when the path holds
// sep + exeName; the install root is what stands before the folder marker.
// Either search failing gives the default folder for both.
InstallLocation locateInstall(std::string_view exePath, const config::PathStyle& style);

// True when "SystemFamily" begins with "Surface".
bool isTabletFamily(std::string_view systemFamily);

// The process-wide values start-up fixes, with the user interface's share and
// the table storage.
struct StartupValues : config::ProcessValues {
  Geometry geometry;
  int screenWidth = 0, screenHeight = 0;
  bool isTablet = false;
  // The system's taskbar window was found at start: the portrait button
  // layout gives up 20 pixels of height for it.
  bool taskbarFound = false;
  // The program's table storage: every table it opens, closed at shutdown.
  tablestore::TableStore tables;
};

struct StartupOptions {
  std::string commandLine;              // the geometry numbers ("/x/y/w/h")
  config::PathStyle style = config::nativePathStyle();
  std::optional<std::string> exePath;   // for tests; else the platform's
  std::optional<std::string> root;      // --root DIR: install root DIR, folder DIR/<marker>
  bool checkSingleInstance = true;
};

struct StartupHooks {
  // Screen work area in the front end's units; false when it cannot be had
  // (the full screen size is then given instead).
  std::function<void(int& width, int& height)> workArea;
  // Registers the window classes and creates and shows the main window.
  // Returns false when the main window could not be created, with
  // lastError set to the system's error code for the failure.
  std::function<bool(const StartupValues&, int& lastError)> createMainWindow;
  // The computer's name, the unit identification when none is set.
  std::function<std::string()> unitIdText;
  // Whether the system's taskbar window exists; none is taken as absent.
  std::function<bool()> taskbarWindow;
};

// Runs start-up. Returns 1 when the message loop should run, 0 when the
// program ends now with exit status 0 (second instance, registry failure,
// no main window). Every failure has been shown through host.
class Startup {
 public:
  int run(ui::Host& host, const StartupOptions& options, const StartupHooks& hooks);
  // Closes every table and ends table storage; releases the instance claim.
  void shutdown();

  StartupValues& values() { return values_; }
  const StartupValues& values() const { return values_; }

 private:
  StartupValues values_;
  std::unique_ptr<platform::InstanceClaim> claim_;
};

// The status lines of the main window: the current application, the paths and
// the date-and-time line, padded so a shorter text overwrites a longer one.
struct StatusLines {
  std::string application;  // "Current Application: %s     " ...
  std::string appPath;      // " App Path:%s"
  std::string dataPath;     // "Data Path:%s"
  std::string dateTime;     // "Date:%02d/%02d/%04d" "Time:%02d:%02d:%02d"
  std::vector<std::string> gps;  // the GPS status block while GPS is on
};
StatusLines statusLines(const StartupValues& values, bool portrait, int month, int day, int year,
                        int hour, int minute, int second);

// Reads the install root's settings file anew into values.settings (missing
// or damaged: the defaults, written back), as every command does before it acts.
void reloadSettings(ui::Host& host, StartupValues& values);

}  // namespace shell

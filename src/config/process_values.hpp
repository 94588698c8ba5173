#pragma once
// The process-wide values start-up fixes and every subsystem reads: how this
// platform names and places the program's folders, the folders themselves,
// the settings record and the default unit identification. The user
// interface's share (geometry, screen size) and the table storage stay with
// start-up (shell::StartupValues derives from this).
#include <string>

#include "config/settings.hpp"

namespace config {

// How this platform names and places the program's folders.
struct PathStyle {
  char sep = '\\';
  std::string exeName;        // "Tallyfin PC.exe" / "tallyfin"
  std::string folderMarker;   // "Orvandat\Tallyfin PC" with sep
  std::string defaultFolder;  // "C:\Orvandat\Tallyfin PC" / <user data>Orvandat/Tallyfin PC
};
PathStyle windowsPathStyle();
// userDataFolder ends with '/' (e.g. "/home/u/.local/share/").
PathStyle posixPathStyle(const std::string& userDataFolder);
// The style of the platform the program runs on.
PathStyle nativePathStyle();

struct ProcessValues {
  PathStyle style;
  std::string installFolder;
  std::string installRoot;  // the value of "PC InstallDir"
  std::string appPath, dataPath, curAppName;
  std::string pendingAppPath, receivePath, messagePath, pendingDataPath;
  SettingsRecord settings;
  // The computer's name: the unit identification unless one is set.
  std::string unitIdDefault;
};

}  // namespace config

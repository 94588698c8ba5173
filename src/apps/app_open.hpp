#pragma once
// Opening and selecting the current application. Exactly one application is
// current; its name lives in the settings record (CurAppName, AppOpen) and,
// kept there by the main window, in the registry.
#include <optional>
#include <string>

namespace config {
struct ProcessValues;
}
namespace tablestore {
class TableStore;
}
namespace ui {
class Host;
}

namespace apps {

class AppDefinition;
class TfaHeader;

// What opening and selecting work on: the application definition, the
// process-wide values (the settings record, the folders) and the table storage.
struct AppContext {
  ui::Host& host;
  AppDefinition& app;
  config::ProcessValues& values;
  tablestore::TableStore& tables;
};

inline constexpr const char* kApplicationListTitle = "< Applications >";
inline constexpr const char* kApplicationListClosing = "< Enter to Select >";

enum OpenStatus : int {
  kOpenOk = 0,
  kOpenNoName = -1,        // the name is empty after trailing blanks are trimmed
  kOpenNoHeader = -2,      // "Cannot Get App Info\nCannot Open App" (caption "App Open ERROR")
  kOpenRefused = -3,       // the application password was not given
  kOpenAppCtl = -4,        // app.ctl: "%s:Error:%d" with its status text ("Not Compiled !" for Compiled 0)
  kOpenLevel = -5,         // the level-1 definition: "%s-Error:%d%d%d"
};

// Opens the installed application name (its package applications folder +
// name + ".tfa", its folder applications folder + name): releases every
// level definition and closes every table, reads the package header, asks
// the application password when askPassword is set and the header carries
// one, loads app.ctl and the level-1 definition of its root table. On
// success AppOpen := 1, CurAppName := name, AppFolder and AppDataFolder (data
// folder + name) are set and the settings file is written; header, when
// given, receives the package header. On failure (every one has shown its
// message) the settings record is left as it was.
int openApplication(AppContext& ctx, const std::string& name, bool askPassword, TfaHeader* header = nullptr);

enum SelectStatus : int {
  kSelectOk = 0,             // the chosen application is open and current
  kSelectNoApps = -1,        // "No Applications Available." (caption "Error")
  kSelectCancelled = -2,     // the user closed the list
  kSelectExtractFailed = -3, // "Can't Extract" (the package name as caption); nothing else changed
  kSelectOpenFailed = -4,    // extracted, but it could not be opened
};

// Selects an application: with name (with or without ".tfa") that package,
// else the one the user picks from the application list ("< Applications >",
// the packages "*.tfa" of the applications folder, "< Enter to Select >", the
// current one preselected). The package is extracted into its folder, the
// folder's header copy made to match the package, and the application
// opened with its password asked. With no packages or a cancelled list the
// current application is reopened; when it cannot be, CurAppName is cleared
// and AppOpen cleared, and the settings file written. When the current
// application itself was chosen and cannot be opened (for another reason than
// a password not given), AppOpen is cleared.
int selectApplication(AppContext& ctx, const std::optional<std::string>& name);

}  // namespace apps

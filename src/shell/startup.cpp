#include "shell/startup.hpp"

#include <cstdlib>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/unit_code.hpp"
#include "config/unit_id.hpp"
#include "platform/codepage.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

constexpr const char* kNotInstalled =
    "Tallyfin is Not Properly Installed.\nPlease re-install to Proper Location.";
constexpr const char* kAbortText = "Registry Access Error\nAborting Program!";
constexpr const char* kBiosKey = "HARDWARE\\DESCRIPTION\\System\\BIOS";

int abortStart(ui::Host& host) {
  ui::inform(host, kAbortText, "Error");
  return 0;
}

// Reads a current-user value of the program's key; a missing one is created
// empty. False when it can be neither read nor created.
bool readOrCreateEmpty(const std::string& name, std::string& out) {
  if (platform::getAppSetting(name, out, 302)) return true;
  out.clear();
  return platform::putAppSetting(name, "") == 1;
}

// The blanks a decimal conversion skips before the number.
bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Creates every level of a path that does not exist yet.
void makeFolderTree(const std::string& path, char sep) {
  for (std::size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == sep) {
      std::string level = path.substr(0, i);
      if (level.empty() || level.back() == ':' || level.back() == sep) continue;
      platform::makeFolder(level);
    }
  }
}

}  // namespace

Geometry computeGeometry(std::string_view commandLine, int screenWidth, int screenHeight) {
  int values[4] = {0, 0, 0, 0};
  std::size_t from = 0;
  for (int i = 0; i < 4; ++i) {
    std::size_t slash = commandLine.find('/', from);
    if (slash == std::string_view::npos) break;
    // A decimal conversion of what follows: leading blanks, optional sign,
    // digits; junk gives 0.
    std::size_t p = slash + 1;
    while (p < commandLine.size() && isBlank(commandLine[p])) ++p;
    bool negative = false;
    if (p < commandLine.size() && (commandLine[p] == '-' || commandLine[p] == '+'))
      negative = commandLine[p++] == '-';
    long long v = 0;
    while (p < commandLine.size() && commandLine[p] >= '0' && commandLine[p] <= '9') {
      if (v < 100000000) v = v * 10 + (commandLine[p] - '0');
      ++p;
    }
    values[i] = static_cast<int>(negative ? -v : v);
    from = slash + 1;
  }
  Geometry g;
  g.x = values[0];
  g.y = values[1];
  g.width = values[2];
  g.height = values[3];
  // Only a missing (zero) size gives the default; a negative one is kept.
  if (g.width == 0 || g.height == 0) {
    g.width = std::min(screenWidth, 1024);
    g.height = std::min(screenHeight, 768);
    g.x = screenWidth / 2 - g.width / 2;
    g.y = screenHeight / 2 - g.height / 2;
  }
  if (g.x < 0) g.x = 0;
  if (g.y < 0) g.y = 0;
  g.portrait = g.width < g.height;
  g.buttonColumns = g.portrait ? 3 : 6;
  g.buttonRows = g.portrait ? 2 : 1;
  return g;
}

InstallLocation locateInstall(std::string_view exePath, const config::PathStyle& style) {
  // The executable's own name ends the path; a folder whose name merely
  // begins like it ("/tmp/tallyfin-test") is not it.
  std::string exeMark = std::string(1, style.sep) + style.exeName;
  std::size_t cut = exePath.rfind(exeMark);
  if (cut != std::string_view::npos && cut + exeMark.size() == exePath.size()) {
    std::string folder(exePath.substr(0, cut));
    std::size_t marker = folder.find(style.folderMarker);
    if (marker != std::string::npos) return {folder, folder.substr(0, marker)};
  }
  return {style.defaultFolder, style.defaultFolder};
}

bool isTabletFamily(std::string_view systemFamily) { return systemFamily.substr(0, 7) == "Surface"; }

int Startup::run(ui::Host& host, const StartupOptions& options, const StartupHooks& hooks) {
  StartupValues& v = values_;
  v.style = options.style;
  const char sep = v.style.sep;

  // The executable's path (or the folder --root stands for).
  std::string exePath;
  if (options.root) {
    std::string root = base::setTrailingSlash(*options.root, true, sep);
    exePath = root + v.style.folderMarker + sep + v.style.exeName;
  } else if (options.exePath) {
    exePath = *options.exePath;
  } else if (int err = platform::executablePath(exePath)) {
    ui::inform(host, platform::errorText(err), "Last Error");
    ui::inform(host, kNotInstalled, "Install Error");
    return 0;
  }
  InstallLocation where = locateInstall(exePath, v.style);

  if (options.checkSingleInstance) {
    makeFolderTree(where.installRoot, sep);
    claim_ = platform::claimSingleInstance(where.installRoot);
    if (!claim_) return 0;
  }

  // Geometry.
  int w = 0, h = 0;
  if (hooks.workArea) hooks.workArea(w, h);
  v.screenWidth = w;
  v.screenHeight = h;
  v.geometry = computeGeometry(options.commandLine, w, h);
  v.taskbarFound = hooks.taskbarWindow && hooks.taskbarWindow();

  v.installFolder = where.installFolder;
  v.installRoot = where.installRoot;
  config::DefaultPaths defaults{where.installRoot, base::joinPath(where.installFolder, "Apps", sep),
                        base::joinPath(where.installFolder, "Data", sep)};

  // First read of the settings, from the install folder.
  makeFolderTree(where.installFolder, sep);
  config::loadSettings(host, where.installFolder, defaults, v.settings, sep);

  // Folder tree and registry values of this start.
  platform::makeFolder(defaults.appPath);
  platform::makeFolder(defaults.dataPath);
  platform::putAppSetting("PC InstallDir", where.installRoot);
  platform::putAppSetting("PC AppPath", defaults.appPath);
  platform::putAppSetting("PC DataPath", defaults.dataPath);
  platform::putAppSetting("Software Version", kSoftwareVersion);
  platform::putAppSetting("Software Date", kSoftwareDate);
  std::string curApp;
  readOrCreateEmpty("CurAppName", curApp);

  std::string family;
  v.isTablet = platform::readRegString(platform::RegRoot::LocalMachine, kBiosKey, "SystemFamily",
                                       family, 1024) == 1 &&
               isTabletFamily(family);

  // Registry check: from here on the install root is the stored value.
  std::string root;
  if (!platform::getAppSetting("PC InstallDir", root, 1024)) {
    platform::putAppSetting("PC InstallDir", v.style.defaultFolder);
    if (!platform::getAppSetting("PC InstallDir", root, 1024)) {
      ui::inform(host, root, "Error");
      ui::inform(host, "Cannot Access Tallyfin From Registry.  Please re-install.", "Error");
      return abortStart(host);
    }
  }
  v.installRoot = root;
  std::string rebuiltBase = base::joinPath(root, "Orvandat", sep) + sep + "Tallyfin PC";
  if (!platform::getAppSetting("PC AppPath", v.appPath, 1024)) {
    v.appPath = rebuiltBase + sep + "Apps";
    makeFolderTree(v.appPath, sep);
    platform::putAppSetting("PC AppPath", v.appPath);
  }
  if (!platform::getAppSetting("PC DataPath", v.dataPath, 1024)) {
    v.dataPath = rebuiltBase + sep + "Data";
    makeFolderTree(v.dataPath, sep);
    if (!platform::putAppSetting("PC DataPath", v.dataPath)) {
      ui::inform(host, "DataPath Registry Access Error.", "Error");
      return abortStart(host);
    }
  }
  if (!readOrCreateEmpty("CurAppName", v.curAppName)) {
    ui::inform(host, "CurAppName Registry Access Error.", "Error");
    return abortStart(host);
  }
  platform::makeFolder(v.appPath);
  platform::makeFolder(v.dataPath);
  platform::putAppSetting("Software Version", kSoftwareVersion);
  platform::putAppSetting("Software Date", kSoftwareDate);

  // The main window.
  int windowError = platform::kOk;
  if (hooks.createMainWindow && !hooks.createMainWindow(v, windowError)) {
    ui::inform(host, platform::errorText(windowError), "Last Error");
    ui::inform(host, kNotInstalled, "Install Error");
    return 0;
  }

  // Second read of the settings, now from the install root.
  config::SettingsRecord& s = v.settings;
  s.setPath(config::SettingsRecord::Path::InstallDir, root);
  config::DefaultPaths rootDefaults{root, v.appPath, v.dataPath};
  config::loadSettings(host, root, rootDefaults, s, sep);
  v.pendingAppPath = v.appPath + "_Pending";
  v.receivePath = root + sep + "TCPIP_Receive";
  v.messagePath = base::joinPath(root, "Messages", sep);
  v.pendingDataPath = base::joinPath(root, "Pending_Data", sep);
  using P = config::SettingsRecord::Path;
  s.setPath(P::InstallDir, root);
  s.setPath(P::AppPath, v.appPath);
  s.setPath(P::DataPath, v.dataPath);
  s.setPath(P::CurAppName, v.curAppName);
  s.setPath(P::PendingAppPath, v.pendingAppPath);
  s.setPath(P::ReceivePath, v.receivePath);
  s.setPath(P::MessagePath, v.messagePath);
  s.setPath(P::PendingDataPath, v.pendingDataPath);
  platform::makeFolder(v.pendingAppPath);
  platform::makeFolder(v.receivePath);
  platform::makeFolder(v.messagePath);
  platform::makeFolder(v.pendingDataPath);
  platform::putAppSetting("Pending_DataPath", v.pendingDataPath);
  platform::putAppSetting("MessagePath", v.messagePath);
  config::saveSettings(host, root, s, sep);

  v.unitIdDefault = hooks.unitIdText ? hooks.unitIdText() : std::string();
  config::applyUnitIdentification(s, config::unitIdentification(v.unitIdDefault));
  if (s.path8(P::CurAppName).empty()) s.setAppOpen(false);
  s.setI32(config::SettingsRecord::kTextSize1, 16);
  s.setI32(config::SettingsRecord::kTextSize2, 40);
  s.setI32(config::SettingsRecord::kEditState8824, 0);
  config::saveSettings(host, root, s, sep);

  // Table storage, with its error box shown through this host.
  v.tables.setHost(&host);
  v.tables.setErrorDisplay(true);
  v.tables.setFatalHandler([] { platform::fatalExit("Memory Error"); });
  v.tables.init();
  return 1;
}

void Startup::shutdown() {
  values_.tables.closeAll();
  values_.tables.setHost(nullptr);
  claim_.reset();
}

StatusLines statusLines(const StartupValues& values, bool portrait, int month, int day, int year,
                        int hour, int minute, int second) {
  StatusLines out;
  std::string app = values.settings.path(config::SettingsRecord::Path::CurAppName);
  if (portrait) {
    std::string shortName = app;
    if (shortName.size() >= 4 && base::equalsNoCase(shortName.substr(shortName.size() - 4), ".tfa"))
      shortName.resize(shortName.size() - 4);
    out.application = app.empty() ? "Current App: None       "
                                  : base::format("Current App: %s        ", shortName.c_str());
  } else {
    out.application = app.empty() ? "Current Application: None     "
                                  : base::format("Current Application: %s     ", app.c_str());
  }
  out.appPath = " App Path:" + values.appPath;
  out.dataPath = "Data Path:" + values.dataPath;
  out.dateTime = base::format("Date:%02d/%02d/%04d", month, day, year) + "  " +
                 base::format("Time:%02d:%02d:%02d", hour, minute, second);
  return out;
}

void reloadSettings(ui::Host& host, StartupValues& values) {
  config::DefaultPaths d{values.installRoot, values.appPath, values.dataPath};
  (void)config::loadSettings(host, values.installRoot, d, values.settings, values.style.sep);
}

}  // namespace shell

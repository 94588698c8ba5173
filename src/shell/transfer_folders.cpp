#include "shell/transfer_folders.hpp"

#include "apps/install_removable.hpp"
#include "base/paths.hpp"
#include "config/settings.hpp"
#include "shell/startup.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

using Path = config::SettingsRecord::Path;

std::string settingOr(const StartupValues& values, Path which, const std::string& fallback) {
  std::string p = values.settings.path(which);
  return p.empty() ? fallback : p;
}

}  // namespace

int saveTransferSettings(ui::Host& host, StartupValues& values) {
  return config::saveSettings(host, values.installRoot, values.settings, values.style.sep);
}

std::string transferDataPath(const StartupValues& values) { return settingOr(values, Path::DataPath, values.dataPath); }
std::string transferPendingDataPath(const StartupValues& values) {
  return settingOr(values, Path::PendingDataPath, values.pendingDataPath);
}
std::string transferAppPath(const StartupValues& values) { return settingOr(values, Path::AppPath, values.appPath); }

std::string applicationDataFolder(const StartupValues& values, const std::string& appName) {
  return base::joinPath(transferDataPath(values), appName, values.style.sep);
}

std::vector<std::string> removableDrivesOrSay(ui::Host& host) {
  std::vector<std::string> drives;
  if (apps::listStorageCards(host, drives) == 0) {
    drives.clear();
    ui::inform(host, "Removable Storage Not Detected!!", "Error!");
  }
  return drives;
}

}  // namespace shell

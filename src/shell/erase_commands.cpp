#include "shell/erase_commands.hpp"

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/auto_transfer.hpp"
#include "config/settings.hpp"
#include "datasets/erase_files.hpp"
#include "exchange/delete_application_dialog.hpp"
#include "exchange/erase_datasets_dialog.hpp"
#include "platform/fileops.hpp"
#include "shell/passwords.hpp"
#include "shell/startup.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

using Path = config::SettingsRecord::Path;

// The whole erase of an application without datasets.
int eraseAllData(ui::Host& host, const std::string& dataFolder) {
  if (ui::askYesNo(host, "Erase All Data\nAre You Sure ?", "Erase Data", true) != ui::kIdYes) {
    ui::inform(host, "Data Not Erased !\nUser Aborted", "Erase Data");
    return 0;
  }
  const std::string pattern = base::joinPath(dataFolder, exchange::kNonBundledPattern, platform::kSep);
  (void)datasets::eraseWithSecondTry(host, pattern, datasets::kErasingDataFiles, "All Files Can\nNot be Erased !",
                                     "Second Try for\nErase Files Failed !\n Skipping Dataset");
  config::clearAutoTransfer(host);
  return 1;
}

}  // namespace

int eraseNonBundledCommand(ui::Host& host, StartupValues& values) {
  reloadSettings(host, values);
  if (!values.settings.appOpen()) {
    ui::inform(host, "Must Select Valid Application First", "Error");
    return 0;
  }
  const std::string dataFolder = base::trimRight(values.settings.path(Path::AppDataFolder));
  if (dataFolder.empty() || !platform::folderExists(dataFolder)) {
    ui::inform(host, "Selected Data Storage\nLocation Not Available.\nSelect New Location. d", "Error");
    config::clearAutoTransfer(host);
    return 0;
  }
  if (!checkAccess(host, values, 2)) return 0;
  if (!platform::fileExists(base::joinPath(dataFolder, "*.dbf", platform::kSep))) {
    ui::inform(host, "No Data Present.", "Error");
    return 0;
  }
  apps::AppContext ctx{host, apps::currentApp(), values, values.tables};
  if (apps::openApplication(ctx, values.settings.path(Path::CurAppName), false) != apps::kOpenOk) {
    ui::inform(host, "Can't Open Application", "Error");
    return 0;
  }
  if (!ctx.app.appCtl().useDatasets()) return eraseAllData(host, dataFolder);
  exchange::runEraseDatasetsDialog(host, dataFolder, values.geometry.portrait);
  return 1;
}

int eraseApplicationCommand(ui::Host& host, StartupValues& values) {
  reloadSettings(host, values);
  apps::AppContext ctx{host, apps::currentApp(), values, values.tables};
  return exchange::runDeleteApplicationDialog(ctx) > 0 ? 1 : 0;
}

}  // namespace shell

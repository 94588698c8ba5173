#include "datasets/open_data.hpp"

#include <algorithm>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/level_load_error.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/auto_transfer.hpp"
#include "config/process_values.hpp"
#include "config/unit_code.hpp"
#include "datasets/choose_dataset.hpp"
#include "datasets/coordinate_cleanup.hpp"
#include "datasets/data_session.hpp"
#include "datasets/dataset_list.hpp"
#include "datasets/level_tables.hpp"
#include "datasets/version_check.hpp"
#include "platform/clock.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"
#include "ui/host.hpp"

namespace datasets {

namespace {

using Path = config::SettingsRecord::Path;
using Settings = config::SettingsRecord;

// makeFolder also answers true when a file holds the name; that is no folder.
bool folderReady(const std::string& path) { return platform::makeFolder(path) && platform::folderExists(path); }

void saveSettings(apps::AppContext& ctx) {
  config::saveSettings(ctx.host, ctx.values.installRoot, ctx.values.settings, ctx.values.style.sep);
}


// The unit code the level-1 file of dataset number/name carries, or "".
std::string unitCodeOnDisk(const std::string& folder, char sep, int number, const std::string& name) {
  for (const DatasetEntry& e : findDatasets(folder, sep))
    if (e.number == number && e.name == name) return e.unitCode;
  return {};
}

void closeEverything(apps::AppContext& ctx, DataSession& session) {
  ctx.tables.closeAll();
  session.forgetLevels();
}

int cannotOpenLevel1(apps::AppContext& ctx, DataSession& session) {
  ui::inform(ctx.host, "Can't Open Level 1 Files", "Error");
  closeEverything(ctx, session);
  return 0;
}

}  // namespace

std::string editWindowTitle(const std::string& appName, const std::string& datasetName) {
  return base::format("TFMobile   ~App\"%s\"  ~Dataset\"%s\"", appName.c_str(), datasetName.c_str());
}

int openData(apps::AppContext& ctx, DataSession& session, EditSessionStart& out) {
  config::ProcessValues& v = ctx.values;
  Settings& s = v.settings;
  apps::AppCtl& app = ctx.app.appCtl();
  const char sep = v.style.sep;

  // 1. A clean table state and level.
  closeEverything(ctx, session);
  ctx.tables.init();
  app.setCurLevel(0);
  for (int level = kMaxLevel; level >= 1; --level) ctx.app.releaseLevel(level);
  platform::clock().sleep(100);
  config::loadSettings(ctx.host, v.installRoot, config::DefaultPaths{v.installRoot, v.appPath, v.dataPath}, s, sep);

  // 2-4. An application and its folders.
  if (!s.appOpen()) {
    ui::inform(ctx.host, "Must Select Valid Application First", "Error");
    return 0;
  }
  if (!folderReady(v.appPath)) {
    ui::inform(ctx.host, "Application Storage Location\nNot Available.\nSelect New Location. a", "Error");
    config::clearAutoTransfer(ctx.host);
    return 0;
  }
  const std::string appName = s.path(Path::CurAppName);
  std::string folder = base::trimRight(s.path(Path::AppDataFolder));
  if (folder.empty()) folder = base::joinPath(v.dataPath, appName, sep);
  if (!folderReady(folder)) {
    ui::inform(ctx.host, "Selected Data Storage\nLocation Not Available.\nSelect New Location. b", "Error");
    config::clearAutoTransfer(ctx.host);
    return 0;
  }

  // 5. Level 1 of the remembered dataset number.
  const std::int32_t lastNumber = s.i32(Settings::kLastDatasetNumber);
  app.setCurLevel(1);
  app.setDatasetNumber(std::clamp<std::int32_t>(lastNumber, 1, 99));
  app.setDatasetName("Level1");
  for (int level = 1; level <= kMaxLevel; ++level) app.setLevelCode(level, "___");

  // 6. The dataset.
  std::string unitCode;
  if (app.useDatasets()) {
    DatasetChoice choice;
    if (!chooseDataset(ctx, folder, config::thisUnitCode(s), choice)) return 0;
    unitCode = choice.unitCode;
  } else {
    unitCode = unitCodeOnDisk(folder, sep, app.datasetNumber(), app.datasetName());
  }
  if (unitCode.empty()) unitCode = config::thisUnitCode(s);
  const int number = app.datasetNumber();
  s.setI32(Settings::kCurDatasetNumber, number);

  // 7. Another dataset's temporary coordinate files go.
  if (number != lastNumber && app.useDatasets() && (s.i32(Settings::kClearCoordFiles) != 0 || app.clearCoordFiles()))
    if (!clearTemporaryFiles(ctx.host, folder, sep)) return 0;

  // 8. Remember the number.
  s.setI32(Settings::kLastDatasetNumber, number);
  saveSettings(ctx);

  // 9. The level-1 table.
  session.datasetNumber = number;
  session.datasetName = app.datasetName();
  session.unitCode = unitCode;
  session.dataFolder = folder;
  session.levelCount = applicationLevels(ctx.app.hierarchy());
  app.setTableName(app.rootTableName());
  std::string file;
  const apps::LevelLoad load = ctx.app.loadLevel(s.path(Path::AppFolder), 1, file);
  if (!load.ok) {
    apps::reportLevelLoadError(ctx.host, appName, 1, load.status, load.phase, file);
    return cannotOpenLevel1(ctx, session);
  }
  if (!openLevelTable(ctx, session, 1, kLevel1Code)) return cannotOpenLevel1(ctx, session);

  // 10. The dataset's version.
  const LevelSlot& level1 = *session.level(1);
  if (checkDatasetVersion(ctx, folder, level1.fileName) < 0) {
    closeEverything(ctx, session);
    return 0;
  }

  out.title = editWindowTitle(appName, platform::toWide(session.datasetName));
  out.level1 = level1.table;
  out.tableName = platform::toWide(level1.tableName);
  out.dataFileName = platform::toWide(level1.fileName);
  out.lineCount = level1.table->recordCount();
  return 1;
}

}  // namespace datasets

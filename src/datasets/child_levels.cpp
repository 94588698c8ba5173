#include "datasets/child_levels.hpp"

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/level_load_error.hpp"
#include "base/paths.hpp"
#include "config/process_values.hpp"
#include "datasets/data_session.hpp"
#include "datasets/level_tables.hpp"
#include "datasets/parent_links.hpp"

namespace datasets {

namespace {

LinkOptions linkOptions(const apps::AppCtl& app) { return {app.keepChildFields(), app.keepStatusFields()}; }

// The code of the child: its own .bct's when that names a table one level
// below the parent and under it, else the parent's code with the letter.
std::string codeOfChild(const std::string& parentCode, const apps::LevelBct& childBct, int childNumber) {
  const int parentLevel = levelOfCode(parentCode);
  const std::string own = normalLevelCode(childBct.levelCodeText());
  if (levelOfCode(own) == parentLevel + 1 && own.compare(0, static_cast<std::size_t>(parentLevel), parentCode, 0,
                                                          static_cast<std::size_t>(parentLevel)) == 0)
    return own;
  return childCode(parentCode, childNumber);
}

}  // namespace

int openChildTable(apps::AppContext& ctx, DataSession& session, int parentLevel, const std::string& tableName,
                   int childNumber) {
  const LevelSlot* parent = session.level(parentLevel);
  if (parentLevel < 1 || parentLevel >= kMaxLevel || parent == nullptr || parent->table == nullptr) return 0;
  const int level = parentLevel + 1;
  apps::AppCtl& app = ctx.app.appCtl();
  app.setTableName(tableName);
  const std::string appFolder = ctx.values.settings.path(config::SettingsRecord::Path::AppFolder);
  std::string file;
  const apps::LevelLoad load = ctx.app.loadLevel(appFolder, level, file);
  if (!load.ok) {
    apps::reportLevelLoadError(ctx.host, ctx.values.settings.path(config::SettingsRecord::Path::CurAppName), level,
                               load.status, load.phase, file);
    return 0;
  }
  const std::string code = codeOfChild(parent->code, ctx.app.level(level)->bct, childNumber);
  if (code.empty() || !openLevelTable(ctx, session, level, code)) return 0;

  const LinkOptions options = linkOptions(app);
  if (options.keepChildFields || options.keepStatusFields) {
    const LevelSlot& child = *session.level(level);
    updateParentLinks(*session.level(parentLevel)->table, child.table, letterNumberAt(code, level),
                      session.level(parentLevel)->fileName, child.fileName,
                      ctx.app.level(level)->header.statusFlag(), options);
  }
  return 1;
}

int closeChildLevel(apps::AppContext& ctx, DataSession& session, int level) {
  LevelSlot* slot = session.level(level);
  LevelSlot* parent = session.level(level - 1);
  if (level < 2 || slot == nullptr || parent == nullptr || slot->table == nullptr) return 0;
  int rc = 0;
  const LinkOptions options = linkOptions(ctx.app.appCtl());
  const apps::LevelDefinition* def = ctx.app.level(level);
  if (parent->table != nullptr && def != nullptr && (options.keepChildFields || options.keepStatusFields))
    rc = clearParentLinks(*parent->table, letterNumberAt(slot->code, level), def->header.linesDeleted(),
                          def->header.statusFlag(), options);
  const int closed = closeLevelTable(ctx, session, level);
  if (rc == 0) rc = closed;
  apps::AppCtl& app = ctx.app.appCtl();
  app.setCurLevel(level - 1);
  app.setCurLevelCode(parent->code);
  app.setTableName(parent->tableName);
  return rc;
}

}  // namespace datasets

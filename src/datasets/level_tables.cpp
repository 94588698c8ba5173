#include "datasets/level_tables.hpp"

#include <algorithm>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "datasets/data_names.hpp"
#include "datasets/data_session.hpp"
#include "datasets/position_file.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"

namespace datasets {

int applicationLevels(const std::vector<apps::HierarchyEntry>& hierarchy) {
  int deepest = 0;
  for (const apps::HierarchyEntry& h : hierarchy) deepest = std::max(deepest, levelOfCode(normalLevelCode(h.code)));
  return deepest == 0 ? kMaxLevel : deepest;
}

bool parentKeys(const DataSession& session, int level, std::vector<std::string>& keys) {
  keys.clear();
  if (level < 1 || level > kMaxLevel) return false;
  if (level == 1) return true;
  const LevelSlot* parent = session.level(level - 1);
  if (parent == nullptr || parent->table == nullptr || parent->table->recordNumber() < 1) return false;
  for (int k = 1; k < level; ++k) {
    tablestore::TableField* f = parent->table->fieldByNumber(k);
    if (f == nullptr) return false;
    keys.emplace_back(f->text());
  }
  return true;
}

bool buildDataFileName(const DataSession& session, int level, std::string_view codeText,
                       std::string_view tableName, std::string& out) {
  if (level > session.levelCount) return false;
  std::vector<std::string> keys;
  if (!parentKeys(session, level, keys)) return false;
  RawName parts;
  parts.datasetNumber = session.datasetNumber;
  parts.level = level;
  parts.levelCode = normalLevelCode(codeText);
  parts.datasetName = session.datasetName;
  parts.unitCode = session.unitCode;
  parts.keyPath = joinKeys(keys);
  parts.tableName = std::string(tableName);
  parts.extension = kTableExtension;
  return buildRawName(parts, out);
}

int openLevelTable(apps::AppContext& ctx, DataSession& session, int level, std::string_view codeText) {
  LevelSlot* slot = session.level(level);
  apps::LevelDefinition* def = ctx.app.level(level);
  if (slot == nullptr || def == nullptr) return 0;
  if (slot->table != nullptr) closeLevelTable(ctx, session, level);

  apps::AppCtl& app = ctx.app.appCtl();
  const std::string table = base::trimRight(level == 1 ? app.rootTableName() : app.tableName());
  const std::string code = normalLevelCode(codeText);
  app.setNextLevelCode(code);
  std::string fileName;
  if (!buildDataFileName(session, level, code, table, fileName)) return 0;
  const std::string folder8 = base::trimRight(platform::toNarrow(session.dataFolder));
  const std::string path8 = base::joinPath(folder8, fileName, ctx.values.style.sep);

  ctx.tables.clearError();
  bool created = false;
  tablestore::Table* t = nullptr;
  if (platform::fileExists(platform::toWide(path8))) {
    t = ctx.tables.openTable(path8);
  } else {
    t = ctx.tables.createTable(path8, def->fieldList);
    created = t != nullptr;
  }
  if (t == nullptr) return 0;

  *slot = LevelSlot{t, fileName, path8, code, table, created};
  def->bct.setDataFileName(fileName);
  def->header.setDataPath(path8);
  def->header.setTableCreated(created);
  def->header.setLineCount(static_cast<std::int32_t>(t->recordCount()));
  app.setCurLevel(level);
  app.setLevelCode(level, code);
  app.setCurLevelCode(code);
  if (app.keepPosition()) {
    PositionRecord position;
    if (readPositionFile(path8, position))
      restorePosition(def->header, position, static_cast<std::int32_t>(t->recordCount()), def->lastColumn());
  }
  return 1;
}

int closeLevelTable(apps::AppContext& ctx, DataSession& session, int level) {
  LevelSlot* slot = session.level(level);
  if (slot == nullptr || slot->table == nullptr) return 0;
  if (const apps::LevelDefinition* def = ctx.app.level(level); def && ctx.app.appCtl().keepPosition())
    writePositionFile(slot->path, capturePosition(def->header));
  ctx.tables.clearError();
  const int rc = ctx.tables.closeTable(slot->table);
  *slot = LevelSlot{};
  return rc;
}

}  // namespace datasets

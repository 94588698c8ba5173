#include "apps/app_definition.hpp"

namespace apps {

int AppDefinition::loadAppCtl(const std::string& appFolder) {
  appCtl_.setDatasetName("");
  releaseAll();
  AppCtl read;
  int status = readAppCtl(appFolder, read);
  if (status != kAppCtlOk) return status;
  appCtl_ = read;
  appCtl_.setTableName(appCtl_.rootTableName());
  appCtl_.setDatasetName("");
  return kAppCtlOk;
}

LevelLoad AppDefinition::loadLevel(const std::string& appFolder, int level, std::string& nameOut) {
  if (level < 1 || level > layout::kMaxLevels) return LevelLoad{};
  std::unique_ptr<LevelDefinition> def;
  LevelLoad result = readLevel(appFolder, appCtl_.tableName(), def, nameOut);
  levels_[static_cast<std::size_t>(level - 1)] = std::move(def);
  return result;
}

void AppDefinition::releaseLevel(int level) {
  if (level < 1 || level > layout::kMaxLevels) return;
  levels_[static_cast<std::size_t>(level - 1)].reset();
}

void AppDefinition::releaseAll() {
  for (auto& l : levels_) l.reset();
}

const LevelDefinition* AppDefinition::level(int n) const {
  if (n < 1 || n > layout::kMaxLevels) return nullptr;
  return levels_[static_cast<std::size_t>(n - 1)].get();
}

LevelDefinition* AppDefinition::level(int n) {
  if (n < 1 || n > layout::kMaxLevels) return nullptr;
  return levels_[static_cast<std::size_t>(n - 1)].get();
}

AppDefinition& currentApp() {
  static AppDefinition app;
  return app;
}

}  // namespace apps

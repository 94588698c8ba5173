#pragma once
// The application definition: the application record and, per level 1-5,
// the definition of the level table open there, plus the hierarchy list.
// One process-wide instance serves the program (currentApp()); tests make
// their own.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "apps/app_ctl.hpp"
#include "apps/hierarchy.hpp"
#include "apps/level_definition.hpp"
#include "apps/level_load.hpp"

namespace apps {

class AppDefinition {
 public:
  AppCtl& appCtl() { return appCtl_; }
  const AppCtl& appCtl() const { return appCtl_; }

  // Clears DatasetName, releases every level, then reads appFolder\app.ctl
  // (UTF-8 folder): the AppCtlStatus (0 success, 1 missing, 2 cannot be
  // opened, 3 size not 3544, 4 read failed, 5 short read, 6 Compiled 0). On
  // success the record is the file's image with TableName := RootTableName
  // and DatasetName empty; on failure the record keeps its previous bytes.
  int loadAppCtl(const std::string& appFolder);

  // Loads the control files of TableName into level 1-5 (readLevel gives
  // the order, statuses and phases). On success the level's previous
  // definition is replaced; on failure the level holds none. A level outside
  // 1-5 gives {0, 0, 0} and touches nothing.
  LevelLoad loadLevel(const std::string& appFolder, int level, std::string& nameOut);

  // Frees the level's definition (its arrays and counts); a level outside
  // 1-5 or not loaded is left alone.
  void releaseLevel(int level);
  void releaseAll();

  // The definition loaded at level 1-5, or nullptr.
  const LevelDefinition* level(int n) const;
  LevelDefinition* level(int n);

  std::vector<HierarchyEntry>& hierarchy() { return hierarchy_; }
  const std::vector<HierarchyEntry>& hierarchy() const { return hierarchy_; }

 private:
  AppCtl appCtl_;
  std::array<std::unique_ptr<LevelDefinition>, layout::kMaxLevels> levels_;
  std::vector<HierarchyEntry> hierarchy_;
};

// The definition of the program's current application.
AppDefinition& currentApp();

}  // namespace apps

#pragma once
// The control-file images of an application model, made with the records
// of apps/level_records.hpp and apps/app_ctl.hpp, so that the builder and the
// runtime share every offset.
#include <string>
#include <vector>

#include "apps/app_ctl.hpp"
#include "apps/level_records.hpp"
#include "apps/tfa_header.hpp"
#include "tfabuild/model.hpp"

namespace tfabuild {

struct LevelImages {
  apps::LevelBct bct;
  apps::LevelHeader header;
  apps::LevelInfo info;
  std::vector<apps::ColumnField> fields;  // c + 1 entries (entry 0 zero)
  std::vector<apps::ColumnDef> defs;      // c + 1
  std::vector<apps::ColumnCheck> checks;  // c + 1
  std::vector<apps::SerialDef> serial;    // n + 1, or none
  std::vector<apps::RndEntry> random;     // n + 1, or none
  std::vector<apps::JumpEntry> jumps;     // n + 1, or none
  std::vector<apps::BcfEntry> conditions; // n, or none

  // The files' bytes: .bct, .ctl and the optional ones ("" when the level
  // has none of them).
  std::string bctBytes() const;
  std::string ctlBytes() const;
  std::string serBytes() const;
  std::string rndBytes() const;
  std::string jptBytes() const;
  std::string bcfBytes() const;
};

apps::AppCtl appCtlImage(const AppModel& app);
LevelImages levelImages(const AppModel& app, int level);
apps::TfaHeader headerImage(const AppModel& app);

// The screen placement, movement pairs and enterable range the model leaves
// open. The movement pairs and the page bounds are the runtime's own
// (editor/screen_layout.hpp); the placement is the builder's, for an 80 × 25
// window (line screens align their values after the longest title), which
// the runtime replaces when the user has the screens reformatted.
void placeColumns(const LevelModel& level, std::vector<apps::ColumnDef>& defs);
void defaultMoves(const LevelModel& level, std::vector<apps::ColumnCheck>& checks);
// The first and last columns that are neither hidden nor skipped.
void enterableRange(const LevelModel& level, int& first, int& last);

}  // namespace tfabuild

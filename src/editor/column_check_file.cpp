#include "editor/column_check_file.hpp"

#include <cstdio>

#include "apps/app_open.hpp"
#include "apps/level_records.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "config/prompts.hpp"
#include "config/settings.hpp"

namespace editor {

namespace {

ColumnFileOpen outcomeOf(CheckFileOpen opened) {
  switch (opened) {
    case CheckFileOpen::kOpen: return ColumnFileOpen::kOpen;
    case CheckFileOpen::kCannotOpen: return ColumnFileOpen::kCannotOpen;
    default: return ColumnFileOpen::kNotFound;
  }
}

}  // namespace

ColumnFileOpen openColumnCheckFile(Engine& e, const apps::ColumnCheck& c, CheckFile& file, std::string& name) {
  const std::string& folder = e.ctx.values.settings.path(config::SettingsRecord::Path::AppFolder);
  name = base::trim(c.checkFile());
  const int relation = c.relationKind();
  if (relation >= kMatchText && relation <= kMatchRange) {
    const CheckFileOpen opened = file.open(folder, name);
    if (opened != CheckFileOpen::kOpen) return outcomeOf(opened);
    std::string resolved;
    if (resolveRelation(*file.table(), relation, e.levels, c.relationLevel(), c.relationColumn(), resolved) !=
        RelationResult::kResolved) {
      file.close();
      return ColumnFileOpen::kNoRelation;
    }
    name = resolved;
  }
  return outcomeOf(file.open(folder, name));
}

bool openColumnCheckFileOrSay(Engine& e, const apps::ColumnCheck& c, CheckFile& file) {
  constexpr int kTime = 200;  // tens of milliseconds
  std::string name;
  switch (openColumnCheckFile(e, c, file, name)) {
    case ColumnFileOpen::kOpen: return true;
    case ColumnFileOpen::kNoRelation:
      (void)config::warn(e.host, "Can't Relate Data", "Can't get Checkfile", kTime, false, false);
      break;
    case ColumnFileOpen::kCannotOpen:
      (void)config::warn(e.host, "Can't Open Checkfile", name, kTime, false, false);
      break;
    case ColumnFileOpen::kNotFound:
      (void)config::warn(e.host, "Can't Find Checkfile", name, kTime, false, false);
      break;
  }
  return false;
}

std::string relationLine(const apps::ColumnCheck& c) {
  char line[40];
  std::snprintf(line, sizeof line, "Relate Sc:%1d Cl:%2d", c.relationLevel(), c.relationColumn());
  return line;
}

}  // namespace editor

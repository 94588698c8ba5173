#include "editor/follow_jump.hpp"

#include <cmath>
#include <cstdio>
#include <string>

#include "apps/app_open.hpp"
#include "base/paths.hpp"
#include "config/process_values.hpp"
#include "config/prompts.hpp"
#include "editor/engine.hpp"
#include "editor/field_formats.hpp"
#include "tablestore/table.hpp"

namespace editor {

namespace {

namespace k = ui::key;

// Jump messages stay half a second (in tens of milliseconds).
constexpr int kMessageTenths = 50;
// The exit key that tells the dispatcher the cursor has already moved.
constexpr ui::KeyCode kJumped = 1;

std::string appFolderOf(const Engine& e) {
  return base::joinPath(e.ctx.values.appPath, e.ctx.values.curAppName, e.ctx.values.style.sep);
}

// Source levels are 1-5; 0 (as a hand-made definition may have) means the level being edited.
int levelOf(const Engine& e, int level) { return level == 0 ? e.current : level; }

bool opened(Engine& e, CheckFile& file, const std::string& folder, const std::string& name) {
  switch (file.open(folder, name)) {
    case CheckFileOpen::kOpen:
      return true;
    case CheckFileOpen::kNotFound:
      (void)config::warn(e.host, "Can't Find Jump File", name, kMessageTenths, false, false);
      return false;
    case CheckFileOpen::kCannotOpen:
      (void)config::warn(e.host, "Can't Open Jump File", name, kMessageTenths, false, false);
      return false;
  }
  return false;
}

bool canJumpTo(const LevelState& s, int col) {
  const apps::LevelHeader& h = s.header();
  if (col < 1 || col > s.columnCount() || col < h.firstEnterableColumn() || col > h.lastEnterableColumn())
    return false;
  const apps::ColumnCheck* c = s.def->check(col);
  const apps::ColumnDef* d = s.def->def(col);
  return c && d && c->fieldType() != kTypeSkipped && !d->hidden();
}

}  // namespace

bool isJumpKey(ui::KeyCode key) {
  switch (key) {
    case k::kEnter: case k::kUp: case k::kDown: case k::kWheelBack: case k::kLeft: case k::kRight:
      return true;
    default:
      return false;
  }
}

int jumpTargetField(ui::KeyCode key, int fieldCount) {
  int back = 0;
  switch (key) {
    case 0: case k::kEnter: back = 0; break;
    case k::kRight: back = 1; break;
    case k::kLeft: back = 2; break;
    case k::kDown: case k::kWheelBack: back = 3; break;
    case k::kUp: back = 4; break;
    default: return 0;
  }
  const int field = fieldCount - back;
  return field >= 2 ? field : 0;  // field 1 holds the key, not a column
}

int findJumpTarget(tablestore::Table& jumpFile, int kind, const MatchKey& key, ui::KeyCode keyCode) {
  const int field = jumpTargetField(keyCode, jumpFile.fieldCount());
  if (field == 0) return 0;
  // Jump files are small and need not be sorted: searched record by record.
  const std::int64_t n = findByKind(jumpFile, kind, key, true, true);
  if (n <= 0) return 0;
  double column = 0;
  if (!fieldNumberOf(jumpFile, n, field, column) || !std::isfinite(column)) return 0;
  if (column < 1 || column > 32767) return 0;
  return static_cast<int>(column);
}

bool followJump(Engine& e, ui::KeyCode key) {
  if (!isJumpKey(key)) return false;
  LevelState& s = e.level();
  if (!s.open()) return false;
  const apps::ColumnCheck* c = s.def->check(s.column());
  if (!c || c->jumpIndex() <= 0) return false;
  const apps::JumpEntry* jump = s.def->jumpEntry(c->jumpIndex());
  if (!jump) return false;

  const std::string folder = appFolderOf(e);
  std::string name = jump->file();
  CheckFile file(e.ctx.tables);
  if (jump->relationKind() != 0) {
    // The named file relates a column's value to the jump file to use.
    if (!opened(e, file, folder, name)) return false;
    const int level = levelOf(e, jump->relationLevel());
    std::string resolved;
    if (resolveRelation(*file.table(), jump->relationKind(), e.levels, level, jump->relationColumn(), resolved) !=
        RelationResult::kResolved) {
      char where[40];
      std::snprintf(where, sizeof where, "Relate Sc:%1d Cl:%2d", level, jump->relationColumn());
      (void)config::warn(e.host, "No Jump Match", where, kMessageTenths, false, false);
      return false;
    }
    file.close();
    name = resolved;
  }
  if (!opened(e, file, folder, name)) return false;
  const MatchKey mk = levelColumnKey(e.levels, levelOf(e, jump->sourceLevel()), jump->sourceColumn());
  const int target = findJumpTarget(*file.table(), jump->matchKind(), mk, key);
  file.close();
  if (!canJumpTo(s, target)) return false;
  s.header().setCurColumn(target);
  s.header().setExitKey(kJumped);
  return true;
}

}  // namespace editor

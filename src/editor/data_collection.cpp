#include "editor/data_collection.hpp"

#include <algorithm>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/layout.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "config/prompts.hpp"
#include "datasets/child_choice.hpp"
#include "datasets/child_levels.hpp"
#include "datasets/data_names.hpp"
#include "datasets/data_session.hpp"
#include "datasets/level_tables.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/enter_cell.hpp"
#include "editor/line_ops.hpp"
#include "editor/movement.hpp"
#include "editor/screen_layout.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

using Change = Engine::LevelChange;

// The extensions of the files that share a level table's base name (its
// position file, deleted-record and coordinate companions).
constexpr const char* kCompanions[] = {"dbf", "db$", "del", "gel", "gpf"};

void cannotOpen(Engine& e, int level) {
  ui::inform(e.host, base::format("Can't Open Level %d Files", level), "Error");
}

std::string dataFolder8(const Engine& e) { return base::trimRight(platform::toNarrow(e.session.dataFolder)); }

void deleteMatching(Engine& e, const std::string& mask8, const std::vector<std::string>& extensions) {
  std::vector<platform::FindEntry> found;
  const std::string folder = dataFolder8(e);
  if (platform::findFiles(platform::toWide(base::joinPath(folder, mask8, e.ctx.values.style.sep)), found) != 0)
    return;
  for (const platform::FindEntry& f : found) {
    if (f.isFolder) continue;
    if (!extensions.empty()) {
      const std::size_t dot = f.name.rfind('.');
      const std::string ext = dot == std::string::npos ? std::string() : f.name.substr(dot + 1);
      if (std::none_of(extensions.begin(), extensions.end(),
                       [&](const std::string& x) { return base::equalsNoCase(x, ext); }))
        continue;
    }
    (void)platform::deleteFile(base::joinPath(folder, platform::toNarrow(f.name), e.ctx.values.style.sep));
  }
}

// The files of a level table that is gone: the table and its companions.
void deleteLevelFiles(Engine& e, const std::string& fileName8) {
  const std::size_t dot = fileName8.rfind('.');
  const std::string base8 = dot == std::string::npos ? fileName8 : fileName8.substr(0, dot);
  deleteMatching(e, base8 + ".*", std::vector<std::string>(std::begin(kCompanions), std::end(kCompanions)));
}

// Lays the level's screens out again when the edit window's font needed it.
void applyLayout(apps::LevelDefinition& def, const LevelLayout& layout) {
  if (layout.reformat) (void)layoutScreens(def, layout.rows, layout.columns);
}

// Makes level n (its table open in the session, its definition loaded) the
// current level: its edit state, a first line for an empty table, the
// current line entered and the screen drawn afresh.
bool startLevel(Engine& e, int n, const LevelLayout& layout) {
  datasets::LevelSlot* slot = e.session.level(n);
  apps::LevelDefinition* def = e.ctx.app.level(n);
  if (!slot || !slot->table || !def || !openLevelState(e.levels[static_cast<std::size_t>(n)], n, *def, *slot->table))
    return false;
  // Level 1 was laid out when the window's font was fitted.
  if (n > 1) applyLayout(*def, layout);
  e.current = n;
  LevelState& s = e.level();
  s.header().setLeaveLevel(false);
  if (s.lineCount() == 0 && !appendLine(e)) return false;
  if (!enterLine(e, s.line() >= 1 ? s.line() : 1)) return false;
  clampPosition(e);
  e.drawnScreen = 0;
  e.markedLine = 0;
  s.header().setRedrawScreen(true);
  return true;
}

// The level stays current after a refused move: its record read again (a
// parent link may have been written), its values recomputed and its
// screen drawn afresh.
void resume(Engine& e) {
  LevelState& s = e.level();
  apps::LevelHeader& h = s.header();
  h.setLeaveLevel(false);
  h.setLineCount(static_cast<std::int32_t>(s.table->recordCount()));
  if (s.line() >= 1 && s.line() <= s.lineCount()) (void)s.table->goRecord(s.line());
  refreshColumnValues(s);
  (void)evaluateColumnStates(e);
  clampPosition(e);
  e.drawnScreen = 0;
  e.markedLine = 0;
  h.setRedrawScreen(true);
}

// The application record names the table of level n again (a failed load
// of a child or sibling changed it).
void nameLevelTable(Engine& e, int n) {
  const datasets::LevelSlot* slot = e.session.level(n);
  apps::AppCtl& app = e.ctx.app.appCtl();
  app.setCurLevel(n);
  app.setCurLevelCode(slot->code);
  app.setTableName(slot->tableName);
}

// The entry number of table name among the children of level n's table
// (its child letter), or 0.
int childEntryOf(Engine& e, int n, const std::string& name) {
  const apps::LevelDefinition* def = e.ctx.app.level(n);
  if (!def) return 0;
  const int count = std::clamp(def->bct.childCount(), 0, static_cast<int>(apps::layout::level_bct::kMaxChildren));
  for (int i = 1; i <= count; ++i)
    if (base::trimRight(def->bct.childName(i)) == name) return i;
  return 0;
}

// The table asked for by the move: the one chosen beforehand (refused when
// blocked), else the crew's pick from the list. 0 when none was taken.
int chooseTable(Engine& e, bool sibling, const apps::LevelBct& bct, std::string& remembered, std::string& name) {
  if (e.changeNumber > 0) {
    const bool blocked = sibling ? bct.siblingBlocked(e.changeNumber) : bct.childBlocked(e.changeNumber);
    if (blocked) {
      (void)config::warn(e.host, sibling ? "Sibling Blocked" : "Child Blocked", "", datasets::kBlockedWarnTime,
                         false, false);
      return 0;
    }
    name = base::trimRight(sibling ? bct.siblingName(e.changeNumber) : bct.childName(e.changeNumber));
    remembered = name;
    return e.changeNumber;
  }
  const int n = sibling ? datasets::chooseSibling(e.host, bct, remembered) : datasets::chooseChild(e.host, bct, remembered);
  if (n > 0) name = remembered;
  return n;
}

// Opens the child table name (entry number) below level parent and makes
// it current. False, with everything shown, when it could not be.
bool openChild(Engine& e, int parent, const std::string& name, int number, const LevelLayout& layout) {
  const int level = parent + 1;
  e.ctx.tables.clearError();
  if (!datasets::openChildTable(e.ctx, e.session, parent, name, number)) {
    // Loading and the table store say why they failed; a name that cannot
    // be built has nobody else to say so.
    if (e.ctx.app.level(level) != nullptr && e.ctx.tables.error() == 0) cannotOpen(e, level);
    nameLevelTable(e, parent);
    return false;
  }
  if (!startLevel(e, level, layout)) {
    cannotOpen(e, level);
    e.levels[static_cast<std::size_t>(level)] = LevelState{};
    (void)datasets::closeChildLevel(e.ctx, e.session, level);
    e.current = parent;
    return false;
  }
  return true;
}

// Closes level n (2-5); a level without lines loses its files, and the
// parent's links to it go.
void closeLevel(Engine& e, int n) {
  LevelState& s = e.levels[static_cast<std::size_t>(n)];
  const bool empty = s.open() && s.lineCount() == 0;
  const std::string fileName = e.session.level(n)->fileName;
  if (s.open()) {
    if (empty) s.header().setLinesDeleted(true);
    restoreColumnStates(s);
  }
  s = LevelState{};
  (void)datasets::closeChildLevel(e.ctx, e.session, n);
  if (empty && !fileName.empty()) deleteLevelFiles(e, fileName);
  e.current = n - 1;
}

// Level 1 left with no lines: the dataset is gone, every file of it.
void deleteDataset(Engine& e) {
  LevelState& s = e.levels[1];
  restoreColumnStates(s);
  s = LevelState{};
  (void)datasets::closeLevelTable(e.ctx, e.session, 1);
  const std::string mask = datasetFilesMask(e.session.datasetNumber, e.session.datasetName);
  if (!mask.empty()) deleteMatching(e, mask, {});
}

}  // namespace

std::string datasetFilesMask(int datasetNumber, const std::string& datasetName) {
  if (datasetNumber < 0 || datasetNumber > 99 || datasetName.empty() || !datasets::fileNameSafe(datasetName) ||
      datasetName.find_first_of("[]") != std::string::npos)
    return {};
  return base::format("%02d ??????[%s]*.*", datasetNumber, datasetName.c_str());
}

CollectionEnd collectData(Engine& e, const LevelLayout& layout, const std::function<void()>& betweenCells) {
  if (!startLevel(e, 1, layout)) {
    ui::inform(e.host, "Can't Open Level 1 Files", "Error");
    return CollectionEnd::Failed;
  }
  e.keys.clear();
  for (;;) {
    while (enterCell(e)) {
      if (betweenCells) betweenCells();
    }
    if (e.aborted || e.keys.aborted()) return CollectionEnd::Aborted;
    const int n = e.current;
    LevelState& s = e.level();
    (void)s.table->flush();
    const Change change = e.change == Change::None ? Change::Leave : e.change;
    e.change = Change::None;

    if (change == Change::Leave) {
      if (n == 1) {
        if (s.lineCount() == 0) deleteDataset(e);
        return CollectionEnd::Left;
      }
      closeLevel(e, n);
      nameLevelTable(e, e.current);
      resume(e);
    } else if (change == Change::Child) {
      std::string name;
      const int number = chooseTable(e, false, s.def->bct, e.session.chosenTable[static_cast<std::size_t>(n + 1)], name);
      if (number == 0 || !openChild(e, n, name, number, layout)) resume(e);
    } else {
      // The sibling replaces the level: its table is closed and the chosen
      // one opened below the same parent record.
      std::string name;
      const int number = chooseTable(e, true, s.def->bct, e.session.chosenTable[static_cast<std::size_t>(n)], name);
      if (number == 0) {
        resume(e);
      } else {
        const std::string was = e.session.level(n)->tableName;
        const int wasEntry = childEntryOf(e, n - 1, was);
        closeLevel(e, n);
        if (!openChild(e, n - 1, name, childEntryOf(e, n - 1, name), layout) &&
            !openChild(e, n - 1, was, wasEntry, layout))
          resume(e);  // back on the parent when the level's own table cannot be opened again
      }
    }
    e.changeNumber = 0;
    e.changeTable.clear();
  }
}

}  // namespace editor

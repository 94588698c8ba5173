#include "editor/level_moves.hpp"

#include <algorithm>

#include "apps/layout.hpp"
#include "base/text.hpp"
#include "config/prompts.hpp"
#include "datasets/level_codes.hpp"
#include "editor/column_values.hpp"
#include "editor/events.hpp"
#include "editor/later_commands.hpp"
#include "editor/line_checks.hpp"
#include "editor/line_ops.hpp"
#include "editor/timers.hpp"
#include "tablestore/table.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

namespace lh = apps::layout::level_header;
using Change = Engine::LevelChange;

// Counts come from a file: never more entries than the record holds.
int entries(int count) { return std::clamp(count, 0, static_cast<int>(apps::layout::level_bct::kMaxChildren)); }

// A running timer keeps the crew on the level, with the cursor on it.
bool timersHold(Engine& e) {
  const int timer = runningTimer(e);
  if (timer == 0) return false;
  e.level().header().setCurColumn(timer);
  (void)config::warn(e.host, "Can't Exit File", "Timers Active", kLevelMoveWarnTime, false, false);
  return true;
}

// The current line written (a refusing line-exit program keeps the crew
// there), so the files hold what the screen shows before the level changes.
bool flushLine(Engine& e) {
  if (!storeLine(e)) {
    e.host.beep();
    return false;
  }
  (void)e.level().table->flush();
  return true;
}

void askFor(Engine& e, Change change, int preselect, std::string table) {
  e.change = change;
  e.changeNumber = preselect;
  e.changeTable = std::move(table);
  e.level().header().setLeaveLevel(true);
}

// Removes the trailing empty lines when the level asks for it; true when
// none is left (the level then goes without further checks).
bool removedEveryLine(Engine& e) {
  LevelState& s = e.level();
  if (!s.header().removeEmptyLines()) return false;
  (void)removeTrailingEmptyLines(e);
  return s.lineCount() == 0;
}

// The first column marked as required before a child level that is empty.
int emptyRequiredBeforeChild(LevelState& s) {
  refreshColumnValues(s);
  for (int k = 1; k <= s.columnCount(); ++k) {
    const apps::ColumnCheck* c = s.def->check(k);
    if (c && c->requiredBeforeChild() && s.header().columnValue(k) == 0) return k;
  }
  return 0;
}

}  // namespace

bool hasChildLevel(Engine& e) {
  LevelState& s = e.level();
  return s.open() && e.current < datasets::kMaxLevel && entries(s.def->bct.childCount()) > 0;
}

bool leaveWithChecks(Engine& e) {
  LevelState& s = e.level();
  LineMoveScope move(e, LineMove::ParentLevel);
  if (!e.hooks.lineMoveAllowed(e, LineMove::ParentLevel)) return false;
  if (timersHold(e)) return false;
  if (!flushLine(e)) return false;
  if (!levelEvent(e, lh::kEventBeforeLeave)) return false;
  if (removedEveryLine(e)) {
    askFor(e, Change::Leave, 0, {});
    return true;
  }
  if (!checkLevel(e)) {
    e.host.beep();
    return false;
  }
  if (!levelEvent(e, lh::kEventOnLeave)) return false;
  (void)s.table->flush();
  askFor(e, Change::Leave, 0, {});
  return true;
}

int takePreselect(Engine& e, Change kind) {
  const int n = e.change == kind && e.level().open() && !e.level().header().leaveLevel() ? e.changeNumber : 0;
  e.change = Change::None;
  e.changeNumber = 0;
  e.changeTable.clear();
  return n;
}

void checkAndLeave(Engine& e) {
  (void)takePreselect(e, Change::Leave);
  (void)leaveWithChecks(e);
}

void leaveLevel(Engine& e) {
  (void)takePreselect(e, Change::Leave);
  LevelState& s = e.level();
  // A level that checks on leaving is checked on Escape too, as on F4.
  if (s.header().checkOnLeave()) {
    (void)leaveWithChecks(e);
    return;
  }
  if (config::warn(e.host, "Exit Without Missing", " Data Checks? (Y/N)", 0, true, false) != 1) return;
  LineMoveScope move(e, LineMove::ParentLevel);
  if (!flushLine(e)) return;
  (void)removedEveryLine(e);
  (void)s.table->flush();
  askFor(e, Change::Leave, 0, {});
}

bool childLevelTo(Engine& e, int preselect) {
  if (!hasChildLevel(e)) return false;
  LevelState& s = e.level();
  const apps::LevelBct& bct = s.def->bct;
  {
    LineMoveScope move(e, LineMove::ChildLevel);
    if (!flushLine(e)) return false;
  }
  const int count = entries(bct.childCount());
  bool open = false;
  for (int i = 1; i <= count; ++i) open = open || !bct.childBlocked(i);
  if (!open) {
    (void)config::warn(e.host, "All Children", "Are Blocked", kLevelMoveWarnTime, false, false);
    return false;
  }
  if (preselect > count) return false;
  if (!levelEvent(e, lh::kEventBeforeChild)) return false;
  bool timerAsked = false;
  if (s.header().checkLineBeforeChild()) {
    if (!checkLine(e, true, false)) {
      e.host.beep();
      return false;
    }
    if (timersHold(e)) return false;
    timerAsked = true;
  }
  if (const int k = emptyRequiredBeforeChild(s)) {
    s.header().setCurColumn(k);
    e.host.beep();
    return false;
  }
  if (!timerAsked) {
    if (const int timer = runningTimer(e)) {
      s.header().setCurColumn(timer);
      if (config::warn(e.host, "Timers Active", "Continue? (Y/N)", 0, true, false) != 1) return false;
    }
  }
  if (!levelEvent(e, lh::kEventAfterChildChecks)) return false;
  askFor(e, Change::Child, preselect, preselect > 0 ? base::trimRight(bct.childName(preselect)) : std::string());
  return true;
}

// A level with nowhere to go answers the key with a beep, as every key
// that cannot act here does.
void childLevel(Engine& e) {
  const int preselect = takePreselect(e, Change::Child);
  if (!hasChildLevel(e)) e.host.beep();
  else (void)childLevelTo(e, preselect);
}

bool siblingJumpTo(Engine& e, int preselect) {
  LevelState& s = e.level();
  if (!s.open() || e.current < 2) return false;
  const apps::LevelBct& bct = s.def->bct;
  const int count = entries(bct.siblingCount());
  if (count == 0 || preselect > count) return false;
  bool open = false;
  for (int i = 1; i <= count; ++i) open = open || !bct.siblingBlocked(i);
  if (!open) {
    (void)config::warn(e.host, "All Siblings", "Are Blocked", kLevelMoveWarnTime, false, false);
    return false;
  }
  if (!levelEvent(e, lh::kEventSiblingJump)) return false;
  // The line is written before empty lines are looked for, so an edited
  // last line is never taken for an empty one.
  LineMoveScope move(e, LineMove::SiblingLevel);
  if (!flushLine(e)) return false;
  if (!removedEveryLine(e)) {
    if (s.header().checkOnSibling() && !checkLevel(e)) {
      e.host.beep();
      return false;
    }
    if (timersHold(e)) return false;
  }
  (void)s.table->flush();
  askFor(e, Change::Sibling, preselect, preselect > 0 ? base::trimRight(bct.siblingName(preselect)) : std::string());
  return true;
}

void siblingJump(Engine& e) {
  const int preselect = takePreselect(e, Change::Sibling);
  if (e.current < 2 || !e.level().open() || e.level().def->bct.siblingCount() <= 0) e.host.beep();
  else (void)siblingJumpTo(e, preselect);
}

}  // namespace editor

#include "editor/dispatch.hpp"

#include <algorithm>

#include "apps/layout.hpp"
#include "config/prompts.hpp"
#include "editor/column_values.hpp"
#include "editor/commands.hpp"
#include "editor/field_exit.hpp"
#include "editor/field_formats.hpp"
#include "editor/follow_jump.hpp"
#include "editor/help_popup.hpp"
#include "editor/later_commands.hpp"
#include "editor/line_ops.hpp"
#include "editor/line_window.hpp"
#include "editor/movement.hpp"
#include "editor/program_lists.hpp"
#include "editor/screen_draw.hpp"
#include "editor/value_checks.hpp"
#include "platform/clock.hpp"
#include "tablestore/table.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

namespace cc = apps::layout::column_check;


void byPair(Engine& e, int which) {
  const apps::ColumnCheck* c = e.level().def->check(e.level().column());
  if (!c) return;
  moveRelative(e, c->moveLines(which), c->moveColumns(which));
}

// The page of the current column: its first and last column.
void pageOf(const LevelState& s, int& first, int& last) {
  const apps::ColumnDef* d = s.def->def(s.column());
  first = d ? d->pageFirstColumn() : 0;
  last = d ? d->pageLastColumn() : 0;
  if (first < 1 || last < first) {
    first = 1;
    last = s.columnCount();
  }
}

void setColumn(Engine& e, int col) { e.level().header().setCurColumn(col); }

// Enter or Right at the last enterable column of a VirtualDisplay line with
// auto new line: the next line's first column, a new line at the end.
void nextLineStart(Engine& e) {
  LevelState& s = e.level();
  const std::int32_t before = s.line();
  if (!stepLines(e, 1)) {
    e.host.beep();
    return;
  }
  if (s.line() != before) setColumn(e, s.header().firstEnterableColumn());
}

void clickCell(Engine& e) {
  if (!e.mousePositioning) return;
  LevelState& s = e.level();
  const ui::KeyQueue::Cell at = e.keys.lastClick();
  const apps::ScreenDef sd = screenDef(s, screenOfColumn(s, s.column()));
  const bool virt = isVirtualDisplay(sd.displayType());
  std::int32_t line = s.line();
  if (virt) {
    if (at.row < sd.firstGridRow() || at.row > sd.lastGridRow()) return;
    line = s.header().topLine() + (at.row - sd.firstGridRow());
    if (line < 1 || line > s.lineCount()) return;
  }
  for (int k = 1; k <= s.columnCount(); ++k) {
    if (!onPage(s, k, s.column())) continue;
    const apps::ColumnDef* d = s.def->def(k);
    const int col = std::max(d->valueColumn(), 1);
    const int width = shownWidth(s, k, e.screen.cols());
    if (at.col < col || at.col >= col + width) continue;
    if (!virt && d->valueRow() != at.row) continue;
    if (k < s.header().firstEnterableColumn() || k > s.header().lastEnterableColumn()) return;
    if (line != s.line() && !goLine(e, line)) {
      e.host.beep();
      return;
    }
    setColumn(e, k);
    return;
  }
}

void clockFill(Engine& e, bool date) {
  LevelState& s = e.level();
  const int col = s.column();
  const apps::ColumnCheck* c = s.def->check(col);
  const int type = c ? c->fieldType() : 0;
  const FieldDesc& f = s.fields[static_cast<std::size_t>(col)];
  platform::DateTime now = platform::clock().localTime();
  if (date) {
    if (!isDateType(type)) return;  // elsewhere Ctrl+D does nothing
    (void)acceptValue(e, col, formatDate(now, type, f.type == 'N'));
    return;
  }
  if (isTimeType(type)) {
    (void)acceptValue(e, col, formatTime(now, type, f.type == 'N', f.width));
  } else if (type == kTypeTimer) {
    timerKey(e, col);
  } else if (type == kTypeSensor) {
    if (e.hooks.sensorInput(e, col, e.level().header().exitKey()) == 0) e.host.beep();
  }
}

void copyAbove(Engine& e) {
  LevelState& s = e.level();
  const int col = s.column();
  if (s.line() <= 1) return;
  const apps::ColumnCheck* c = s.def->check(col);
  if (c && c->unique()) {
    config::warn(e.host, "Entry Must be", "Unique !", 250, false, false);
    return;
  }
  std::string record;
  if (s.table->peekRecord(s.line() - 1, record) != 0) return;
  // The copied value is checked as a typed one would be.
  if (!acceptValue(e, col, fieldText(s, col, record))) e.host.beep();
}

void pageUp(Engine& e, bool virt) {
  LevelState& s = e.level();
  if (s.line() <= 1) return;
  const std::int32_t floor = std::max<std::int32_t>(1, s.header().firstLine());
  std::int32_t target = virt ? s.line() - std::max<std::int32_t>(s.header().linesPerPage(), 1) : s.line() - 1;
  target = std::max(target, std::min(floor, s.line()));
  if (!goLine(e, target)) e.host.beep();
  // A form shows its line from the top, as a grid keeps its column.
  else if (!virt) setColumn(e, s.header().firstEnterableColumn());
}

void pageDown(Engine& e, bool virt) {
  LevelState& s = e.level();
  if (virt) {
    if (s.line() >= s.lineCount()) return;
    const std::int32_t target =
        std::min(s.lineCount(), s.line() + std::max<std::int32_t>(s.header().linesPerPage(), 1));
    if (!goLine(e, target)) e.host.beep();
    return;
  }
  const std::int32_t before = s.line();
  if (!stepLines(e, 1)) e.host.beep();
  else if (s.line() != before) setColumn(e, s.header().firstEnterableColumn());
}

}  // namespace

void dispatchExitKey(Engine& e) {
  LevelState& s = e.level();
  apps::LevelHeader& h = s.header();
  const ui::KeyCode key = h.exitKey();
  // The level's field-exit programs run first; a refusal cancels the command.
  if (!fieldExitEvents(e, key)) {
    clampPosition(e);
    return;
  }
  const bool virt = isVirtualDisplay(displayTypeOf(s, s.column()));
  int first = 0, last = 0;
  // A jump file may send the cursor elsewhere; the key then does nothing more.
  if (isJumpKey(key) && followJump(e, key)) {
    clampPosition(e);
    return;
  }
  switch (commandOf(key)) {
    case Command::None: break;
    case Command::Help: showHelpPopup(e, virt); break;
    case Command::DataLimits: showDataLimits(e); break;
    case Command::ChooseFromList: chooseFromList(e); break;
    case Command::Search: searchColumn(e); break;
    case Command::CheckAndLeave: checkAndLeave(e); break;
    case Command::Child: childLevel(e); break;
    case Command::Sibling: siblingJump(e); break;
    case Command::GoToLine: goToLinePrompt(e); break;
    case Command::GlobalPrograms: programList(e, ProgramList::Global); break;
    case Command::LevelPrograms: programList(e, ProgramList::Level); break;
    case Command::InsertLine: insertLine(e); break;
    case Command::DeleteLine: deleteLine(e); break;
    case Command::Leave: leaveLevel(e); break;
    case Command::DateFromClock: clockFill(e, true); break;
    case Command::TimeFromClock: clockFill(e, false); break;
    case Command::AutoEntry: autoEntryMenu(e); break;
    case Command::GpsLog:
      if (!e.hooks.toggleGpsLog(e)) e.host.beep();
      break;
    case Command::Navigation:
      if (!e.hooks.openNavigation()) e.host.beep();
      break;
    case Command::CopyAbove: copyAbove(e); break;
    case Command::Enter:
    case Command::Right:
      if (virt && h.autoNewLine() && s.column() >= h.lastEnterableColumn())
        nextLineStart(e);
      else
        byPair(e, commandOf(key) == Command::Enter ? cc::kMoveEnter : cc::kMoveRight);
      break;
    case Command::Left:
      if (virt && h.autoNewLine() && s.column() <= h.firstEnterableColumn() && s.line() > 1) {
        if (goLine(e, s.line() - 1)) setColumn(e, h.lastEnterableColumn());
        else e.host.beep();
      } else {
        byPair(e, cc::kMoveLeft);
      }
      break;
    case Command::Up: byPair(e, cc::kMoveUp); break;
    case Command::Down: byPair(e, cc::kMoveDown); break;
    case Command::ScreenRight:
      pageOf(s, first, last);
      if (last < s.columnCount()) setColumn(e, last + 1);
      break;
    case Command::ScreenLeft:
      pageOf(s, first, last);
      if (first > 1) setColumn(e, first - 1);
      break;
    case Command::Home:
      pageOf(s, first, last);
      first = std::max(first, h.firstEnterableColumn());
      setColumn(e, s.column() == first ? h.firstEnterableColumn() : first);
      break;
    case Command::End:
      pageOf(s, first, last);
      last = std::min(last, static_cast<int>(h.lastEnterableColumn()));
      setColumn(e, s.column() == last ? h.lastEnterableColumn() : last);
      break;
    case Command::PageUp: pageUp(e, virt); break;
    case Command::PageDown: pageDown(e, virt); break;
    case Command::FirstLine:
      if (!goLine(e, 1)) e.host.beep();
      break;
    case Command::LastLine:
      if (!goLine(e, s.lineCount())) e.host.beep();
      break;
    case Command::FirstCell:
      if (goLine(e, 1)) setColumn(e, h.firstEnterableColumn());
      else e.host.beep();
      break;
    case Command::LastCell:
      if (goLine(e, s.lineCount())) setColumn(e, h.lastEnterableColumn());
      else e.host.beep();
      break;
    case Command::Click: clickCell(e); break;
    case Command::Refresh: h.setRedrawScreen(true); break;
  }
  clampPosition(e);
}

}  // namespace editor

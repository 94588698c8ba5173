// The cursor and the lines of the current level: where the cursor stands,
// and the engine's own line operations (store, go to a cell, move, append,
// insert, delete, redraw), which refuse exactly as they refuse the crew's
// keys; a refusal answers 0. The two blocked tables of the level's .bct
// record (children, siblings: 27 entries each) are set here too.
#include <algorithm>

#include "apps/level_records.hpp"
#include "editor/engine.hpp"
#include "editor/later_commands.hpp"
#include "editor/line_ops.hpp"
#include "editor/movement.hpp"
#include "editor/screen_draw.hpp"
#include "runtime/builtins_engine.hpp"
#include "runtime/run_errors.hpp"

namespace runtime::engine_builtins {

namespace {

// The last entry of the child and sibling blocked tables (entries 0-26).
constexpr int kLastBlockedEntry = 26;

void answer(Call& c, double v) {
  c.setStatus(kNoError);
  c.setNumber(v);
}

void currentColumn(Call& c) {
  if (editor::Engine* e = engineOf(c)) answer(c, e->level().column());
}
void currentLine(Call& c) {
  if (editor::Engine* e = engineOf(c)) answer(c, e->level().line());
}
void columnCount(Call& c) {
  if (editor::Engine* e = engineOf(c)) answer(c, e->level().columnCount());
}
void lineCount(Call& c) {
  if (editor::Engine* e = engineOf(c)) answer(c, e->level().lineCount());
}
void firstColumn(Call& c) {
  if (editor::Engine* e = engineOf(c)) answer(c, e->level().header().firstEnterableColumn());
}
void lastColumn(Call& c) {
  if (editor::Engine* e = engineOf(c)) answer(c, e->level().header().lastEnterableColumn());
}

void storeLine(Call& c) {
  if (editor::Engine* e = engineOf(c)) answer(c, editor::storeLine(*e) ? 1 : 0);
}

// goCell(column x, line y): the line is entered the way the crew's moves
// enter it (stored first, then its line-entry program), and the column is
// clamped to the enterable ones.
void goCell(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::LevelState& s = e->level();
  const int column = c.integer(0);
  const std::int32_t line = c.integer(1);
  if (!columnOf(c, s, column)) return;
  if (line < 1 || line > s.lineCount()) return refuse(c, kErrLineRange);
  if (!editor::goLine(*e, line)) return answer(c, 0);
  s.header().setCurColumn(column);
  editor::clampPosition(*e);
  answer(c, 1);
}

// moveBy(columns x, lines y): lines first (new lines appended past the end
// as the Down key appends them), then the columns by the movement rule of
// the columns' movement pairs.
void moveBy(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::LevelState& s = e->level();
  const int columns = c.integer(0);
  const std::int32_t lines = c.integer(1);
  if (!editor::stepLines(*e, lines)) return answer(c, 0);
  apps::LevelHeader& h = s.header();
  if (columns != 0)
    h.setCurColumn(editor::pairColumn(h.curColumn(), columns, h.firstEnterableColumn(), h.lastEnterableColumn()));
  editor::clampPosition(*e);
  answer(c, 1);
}

void appendLine(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  if (!editor::storeLine(*e) || !editor::appendLine(*e)) return answer(c, 0);
  editor::clampPosition(*e);
  answer(c, 1);
}

void redraw(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::drawScreen(*e);
  editor::drawCurrentLine(*e);
  answer(c, 1);
}

void insertLine(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  if (!editor::insertBlankLine(*e)) return answer(c, 0);
  editor::clampPosition(*e);
  answer(c, 1);
}

void deleteLine(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  if (!editor::deleteCurrentLine(*e)) return answer(c, 0);
  editor::clampPosition(*e);
  answer(c, 1);
}

int blockedEntry(Call& c) { return std::clamp(c.integer(0), 0, kLastBlockedEntry); }

// setChildBlocked(entry x, y) / setSiblingBlocked(entry x, y): entry x of the
// level's child or sibling blocked table becomes y (non-zero: that table may
// not be opened). Answers the entry's previous value.
void setChildBlocked(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  apps::LevelBct& bct = e->level().def->bct;
  const int i = blockedEntry(c);
  const bool was = bct.childBlocked(i);
  bct.setChildBlocked(i, c.integer(1) != 0);
  answer(c, was ? 1 : 0);
}

void setSiblingBlocked(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  apps::LevelBct& bct = e->level().def->bct;
  const int i = blockedEntry(c);
  const bool was = bct.siblingBlocked(i);
  bct.setSiblingBlocked(i, c.integer(1) != 0);
  answer(c, was ? 1 : 0);
}

}  // namespace

void addPositionBuiltins(BuiltinTable& t) {
  t[18] = currentColumn;
  t[19] = currentLine;
  t[20] = columnCount;
  t[21] = lineCount;
  t[22] = firstColumn;
  t[23] = lastColumn;
  t[24] = storeLine;
  t[25] = goCell;
  t[26] = moveBy;
  t[27] = appendLine;
  t[28] = redraw;
  t[50] = insertLine;
  t[51] = deleteLine;
  t[52] = setChildBlocked;
  t[53] = setSiblingBlocked;
}

}  // namespace runtime::engine_builtins

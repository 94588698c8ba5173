#include "editor/movement.hpp"

#include <algorithm>

#include "editor/line_checks.hpp"
#include "editor/line_ops.hpp"
#include "editor/line_window.hpp"
#include "editor/screen_draw.hpp"
#include "tablestore/table.hpp"

namespace editor {

int pairColumn(int current, int c, int first, int last) {
  if (c >= -kPairColumnLimit && c <= kPairColumnLimit) return std::clamp(current + c, first, std::max(first, last));
  return std::clamp(current + c - kPairColumnLimit, 1, std::max(1, last));
}

void clampPosition(Engine& e) {
  LevelState& s = e.level();
  if (!s.open()) return;
  apps::LevelHeader& h = s.header();
  const int first = std::max(h.firstEnterableColumn(), 1);
  const int last = std::min(std::max(h.lastEnterableColumn(), first), std::max(s.columnCount(), 1));
  h.setCurColumn(std::clamp<int>(h.curColumn(), std::min(first, last), last));
  std::int32_t line = h.curLine();
  if (h.maxLines() > 0) line = std::min(line, h.maxLines());
  line = std::min(line, h.lineCount());
  line = std::max<std::int32_t>(line, h.lineCount() > 0 ? 1 : 0);
  if (line != h.curLine()) {
    h.setCurLine(line);
    if (line >= 1) (void)s.table->goRecord(line);
  }
  const apps::ScreenDef sd = screenDef(s, screenOfColumn(s, h.curColumn()));
  if (!isVirtualDisplay(sd.displayType())) return;
  LineWindow w = followLine(h.curLine(), h.lineCount(), h.topLine(), h.bottomLine(), sd.firstGridRow(), sd.lastGridRow());
  h.setLinesPerPage(w.linesPerPage);
  if (w.moved) {
    h.setTopLine(w.top);
    h.setBottomLine(w.bottom);
    h.setRedrawLines(true);
  }
}

namespace {

// A level that checks lines on line change lets the cursor leave a line only
// when its required columns hold data; otherwise the cursor goes to the first
// empty one.
bool lineMayBeLeft(Engine& e) {
  LevelState& s = e.level();
  if (s.header().checkOnLineChange() == 0 || s.line() < 1 || s.line() > s.lineCount()) return true;
  return checkLine(e, true, false);
}

}  // namespace

bool goLine(Engine& e, std::int32_t n) {
  LevelState& s = e.level();
  n = std::clamp<std::int32_t>(n, 1, std::max<std::int32_t>(s.lineCount(), 1));
  if (n == s.line()) return true;
  if (!lineMayBeLeft(e)) return false;
  if (!storeLine(e)) return false;
  if (!enterLine(e, n)) return false;
  clampPosition(e);
  return true;
}

bool stepLines(Engine& e, std::int32_t delta) {
  LevelState& s = e.level();
  if (delta == 0) return true;
  if (delta < 0) {
    if (s.line() <= 1) return true;  // line 1 is as far as it goes
    return goLine(e, std::max<std::int32_t>(1, s.line() + delta));
  }
  std::int32_t target = s.line() + delta;
  if (target <= s.lineCount()) return goLine(e, target);
  // Past the end new lines are made, one at a time; an empty last line is
  // not followed by another (that would only pile up blank records).
  if (!lineMayBeLeft(e)) return false;
  if (!storeLine(e)) return false;
  std::string record;
  while (s.line() < target) {
    if (s.line() < s.lineCount()) {
      if (!enterLine(e, s.lineCount())) break;
      continue;
    }
    if (s.table->peekRecord(s.line(), record) == 0 && lineIsEmpty(s, record)) break;
    if (!appendLine(e)) break;
  }
  clampPosition(e);
  return true;
}

void moveRelative(Engine& e, int lines, int columns) {
  LevelState& s = e.level();
  apps::LevelHeader& h = s.header();
  const std::int32_t before = s.line();
  if (lines != 0 && !stepLines(e, lines)) {
    e.host.beep();
    return;
  }
  const int first = h.firstEnterableColumn(), last = h.lastEnterableColumn();
  const apps::ColumnCheck* c = s.def->check(h.curColumn());
  if (s.line() != before && c && c->goToOnLineChange()) {
    int target = c->goToTarget() > 0 ? c->goToTarget() : h.curColumn();
    target = std::min(target, s.columnCount());
    for (int k = 1; k <= target; ++k) {
      if (h.columnValue(k) == 0) {
        h.setCurColumn(std::clamp(k, first, last));
        return;
      }
    }
    h.setCurColumn(std::clamp(target, first, std::max(first, last)));
    return;
  }
  if (columns != 0) h.setCurColumn(pairColumn(h.curColumn(), columns, first, last));
}

}  // namespace editor

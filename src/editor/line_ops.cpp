#include "editor/line_ops.hpp"

#include <algorithm>
#include <string>

#include "apps/layout.hpp"
#include "editor/auto_fill.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/events.hpp"
#include "tablestore/table.hpp"

namespace editor {

namespace {

namespace lh = apps::layout::level_header;
constexpr int kSkippedType = 11;
constexpr int kDisplayOnlyType = 6;

std::int32_t countOf(const LevelState& s) {
  return static_cast<std::int32_t>(std::min<std::int64_t>(s.table->recordCount(), INT32_MAX));
}

}  // namespace

bool storeLine(Engine& e) {
  LevelState& s = e.level();
  if (!s.open() || s.line() < 1) return true;
  // A GPS log of the record must be stopped before the line is left (the GPS
  // subsystem asks).
  if (!e.hooks.lineMoveAllowed(e, e.lineMove)) return false;
  if (!levelEvent(e, lh::kEventLineExit)) return false;
  if (s.table->changed() > 0) {
    if (s.table->writeRecord(s.line()) != 0) return false;
    if (s.table->flush() != 0) return false;
  }
  s.header().setLineModified(false);
  s.header().setMustStore(false);
  return true;
}

bool enterLine(Engine& e, std::int32_t n) {
  LevelState& s = e.level();
  if (!s.open() || n < 1 || n > s.lineCount()) return false;
  if (s.table->recordNumber() != n && s.table->goRecord(n) != 0) return false;
  s.header().setCurLine(n);
  s.header().setLineModified(false);
  refreshColumnValues(s);
  (void)evaluateColumnStates(e);
  (void)levelEvent(e, lh::kEventLineEntry);
  return true;
}

bool appendLine(Engine& e) {
  LevelState& s = e.level();
  if (!s.open()) return false;
  const std::int32_t max = s.header().maxLines();
  if (max > 0 && s.lineCount() >= max) return false;
  const std::int32_t before = s.lineCount();
  const std::int32_t was = s.line();
  if (s.table->appendStart() != 0) return false;
  // The new line takes its initial values before it is written: a program
  // killed at once leaves it numbered and tied to its parent line, never a
  // blank record whose children could not be told apart.
  s.header().setCurLine(before + 1);
  initNewLine(e, before == 0, true);
  if (s.table->append() != 0) {
    s.header().setCurLine(was);
    if (was >= 1) (void)s.table->goRecord(was);
    refreshColumnValues(s);
    return false;
  }
  s.header().setLineCount(countOf(s));
  s.header().setCurLine(s.lineCount());
  s.header().setLineModified(false);
  refreshColumnValues(s);
  (void)evaluateColumnStates(e);
  s.header().setRedrawLines(true);
  (void)levelEvent(e, lh::kEventNewLine);
  return true;
}

bool lineIsEmpty(const LevelState& s, std::string_view record) {
  const int first = std::max<int>(1, s.header().firstEnterableColumn());
  const int last = s.header().lastEnterableColumn() >= first ? s.header().lastEnterableColumn() : s.columnCount();
  for (int k = first; k <= std::min(last, s.columnCount()); ++k) {
    const apps::ColumnCheck* c = s.def->check(k);
    const apps::ColumnDef* d = s.def->def(k);
    // Only what the crew can key in counts: a number shown by the line (a
    // display-only or skipped column) is no data of theirs.
    if ((c && (c->fieldType() == kSkippedType || c->fieldType() == kDisplayOnlyType)) || (d && d->hidden()))
      continue;
    // Blank text is empty; a number keyed as 0 is data.
    std::string text = fieldText(s, k, record);
    if (text.find_first_not_of(' ') != std::string::npos) return false;
  }
  return true;
}

HeldLine::HeldLine(LevelState& s) : s_(s), line_(s.line()) {
  if (!s.open() || s.table->changed() <= 0) return;
  pending_ = true;
  buffer_.assign(s.table->recordBuffer(), static_cast<std::size_t>(s.table->recordWidth()));
  (void)s.table->changed(0);
}

int HeldLine::peek(std::int32_t n, std::string& out) const {
  if (pending_ && n == line_) {
    out = buffer_;
    return 0;
  }
  return s_.table->peekRecord(n, out);
}

int HeldLine::store() {
  if (!pending_) return 0;
  restore(line_);
  int rc = s_.table->writeRecord(line_);
  if (rc == 0) rc = s_.table->flush();
  if (rc == 0) pending_ = false;
  return rc;
}

void HeldLine::restore(std::int32_t n) {
  if (!s_.open()) return;
  // Whatever the scan left in the buffer is not written.
  (void)s_.table->changed(0);
  if (n >= 1 && n <= s_.lineCount() && s_.table->recordNumber() != n) (void)s_.table->goRecord(n);
  if (pending_ && n == line_ && s_.table->recordNumber() == n) {
    std::copy(buffer_.begin(), buffer_.end(), s_.table->recordBuffer());
    (void)s_.table->changed(1);
  }
}

int removeTrailingEmptyLines(Engine& e) {
  LevelState& s = e.level();
  if (!s.open()) return 0;
  HeldLine held(s);
  int removed = 0;
  std::string record;
  for (std::int32_t n = s.lineCount(); n >= 1; --n) {
    if (held.peek(n, record) != 0 || !lineIsEmpty(s, record)) break;
    // A line marked deleted before is written as it is left.
    if (s.table->recordNumber() != n && s.table->goRecord(n) != 0) break;
    if (s.table->deleteRecord() != 0) break;
    ++removed;
  }
  if (removed == 0) {
    held.restore(held.line());
    return 0;
  }
  (void)s.table->pack();
  (void)s.table->flush();
  s.header().setLineCount(countOf(s));
  s.header().setLeftEmpty(s.lineCount() == 0);
  const std::int32_t line = std::min(s.line(), s.lineCount());
  s.header().setCurLine(line);
  held.restore(line);
  refreshColumnValues(s);
  (void)evaluateColumnStates(e);
  return removed;
}

}  // namespace editor

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

std::int32_t countOf(const LevelState& s) {
  return static_cast<std::int32_t>(std::min<std::int64_t>(s.table->recordCount(), INT32_MAX));
}

}  // namespace

bool storeLine(Engine& e) {
  LevelState& s = e.level();
  if (!s.open() || s.line() < 1) return true;
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
  if (s.table->appendStart() != 0 || s.table->append() != 0) return false;
  s.header().setLineCount(countOf(s));
  s.header().setCurLine(s.lineCount());
  s.header().setLineModified(false);
  initNewLine(e, s.lineCount() == 1, true);
  refreshColumnValues(s);
  (void)evaluateColumnStates(e);
  s.header().setRedrawLines(true);
  (void)levelEvent(e, lh::kEventNewLine);
  return true;
}

bool lineIsEmpty(const LevelState& s, std::string_view record) {
  for (int k = 1; k <= s.columnCount(); ++k) {
    const apps::ColumnCheck* c = s.def->check(k);
    const apps::ColumnDef* d = s.def->def(k);
    if ((c && c->fieldType() == kSkippedType) || (d && d->hidden())) continue;
    std::string text = fieldText(s, k, record);
    if (text.find_first_not_of(' ') != std::string::npos) return false;
  }
  return true;
}

int removeTrailingEmptyLines(Engine& e) {
  LevelState& s = e.level();
  if (!s.open()) return 0;
  int removed = 0;
  std::string record;
  for (std::int32_t n = s.lineCount(); n >= 1; --n) {
    if (s.table->peekRecord(n, record) != 0 || !lineIsEmpty(s, record)) break;
    if (s.table->goRecord(n) != 0 || s.table->deleteRecord() != 0) break;
    ++removed;
  }
  if (removed == 0) return 0;
  (void)s.table->pack();
  (void)s.table->flush();
  s.header().setLineCount(countOf(s));
  s.header().setLeftEmpty(s.lineCount() == 0);
  const std::int32_t line = std::min(s.line(), s.lineCount());
  s.header().setCurLine(line);
  if (line >= 1) (void)s.table->goRecord(line);
  refreshColumnValues(s);
  (void)evaluateColumnStates(e);
  return removed;
}

}  // namespace editor

// The print built-ins: a column's name or value, a heading line, the current
// line, a formatted text and a line end, all on the program's port. Each
// returns 0, or 27 when there is no port (status 36) or the crew aborted.
#include <algorithm>
#include <string>

#include "base/text.hpp"
#include "editor/column_values.hpp"
#include "editor/engine.hpp"
#include "runtime/printer_output.hpp"
#include "runtime/run_errors.hpp"
#include "tablestore/table.hpp"

namespace runtime {

namespace {

// The level a print built-in names (0: the current one), or null with the
// status set: 13 for a number outside 0-5, 12 for a level not open or no
// edit session.
editor::LevelState* levelOf(Call& c, int level) {
  editor::Engine* e = c.ctx.engine;
  if (!e) {
    c.setStatus(kErrDataNotOpen);
    return nullptr;
  }
  if (level < 0 || level > 5) {
    c.setStatus(kErrBadDataSource);
    return nullptr;
  }
  editor::LevelState& s = e->levels[static_cast<std::size_t>(level == 0 ? e->current : level)];
  if (!s.open()) {
    c.setStatus(kErrDataNotOpen);
    return nullptr;
  }
  return &s;
}

// Column col of s (0: its current column), or 0 with status 17.
int columnOf(Call& c, const editor::LevelState& s, int col) {
  const int k = col == 0 ? s.column() : col;
  if (k < 1 || k > s.columnCount()) {
    c.setStatus(kErrColumnRange);
    return 0;
  }
  return k;
}

// The text of column k in line n of s (0: the current line), as stored; false
// with status 16 when there is no such line.
bool valueText(Call& c, editor::LevelState& s, int k, std::int64_t line, std::string& out) {
  const std::int64_t n = line == 0 ? s.line() : line;
  std::string record;
  if (n < 1 || n > s.lineCount() || s.table->peekRecord(n, record) != 0) {
    c.setStatus(kErrLineRange);
    return false;
  }
  out = editor::fieldText(s, k, record);
  return true;
}

int gapOf(int gap) { return std::clamp(gap, 0, kPrintGapMax); }

// A piece of a heading or line: cut or padded to the column's width when
// fixed, else as it stands; then the gap.
std::string piece(std::string text, bool fixed, int width, bool rightAligned, int gap) {
  if (fixed) {
    text = formatPrintText(text, width, rightAligned ? 1 : 2);
  }
  return text + std::string(static_cast<std::size_t>(gapOf(gap)), ' ');
}

// The answer every print built-in starts from: "not printed" when no printer
// port can take the output (the built-in then stops), else "printed".
bool startPrinting(Call& c) {
  const bool ready = printerReady(c);
  c.setNumber(ready ? kPrinted : kNotPrinted);
  return ready;
}

// 117: the name of (level x, column y) in width z with alignment (4th).
void printColumnName(Call& c) {
  if (!startPrinting(c)) return;
  editor::LevelState* s = levelOf(c, c.integer(0));
  const int k = s ? columnOf(c, *s, c.integer(1)) : 0;
  if (k == 0) return;
  const apps::ColumnField* field = s->def->field(k);
  c.setNumber(printFormatted(c, field ? base::trimRight(field->name()) : "", c.integer(2), c.integer(3), false));
}

// 118: the value of (level x, column y, line z) in width (4th) with alignment (5th).
void printValue(Call& c) {
  if (!startPrinting(c)) return;
  editor::LevelState* s = levelOf(c, c.integer(0));
  const int k = s ? columnOf(c, *s, c.integer(1)) : 0;
  std::string text;
  if (k == 0 || !valueText(c, *s, k, c.integer(2), text)) return;
  c.setNumber(printFormatted(c, text, c.integer(3), c.integer(4), false));
}

// 119: one heading per column of the current level (kind 1 the column's
// title, kind 2 its second title), each followed by the gap, then a line end.
void printHeadings(Call& c) {
  if (!startPrinting(c)) return;
  editor::LevelState* s = levelOf(c, 0);
  if (!s) return;
  const int kind = c.integer(0);
  const bool fixed = c.integer(1) != 0;
  for (int k = 1; k <= s->columnCount(); ++k) {
    const apps::ColumnDef* def = s->def->def(k);
    const apps::ColumnField* field = s->def->field(k);
    const std::string heading = kind == 2 ? (def ? def->title2() : "") : (field ? field->title() : "");
    const int width = s->fields[static_cast<std::size_t>(k)].width;
    if (printText(c, piece(base::trimRight(heading), fixed, width, false, c.integer(2)), false) != kPrinted) {
      c.setNumber(kNotPrinted);
      return;
    }
  }
  c.setNumber(printText(c, "", true));
}

// 120: the values of the current line, text columns left-aligned and the
// others right-aligned, each followed by the gap, then a line end.
void printCurrentLine(Call& c) {
  if (!startPrinting(c)) return;
  editor::LevelState* s = levelOf(c, 0);
  if (!s) return;
  const bool fixed = c.integer(0) != 0;
  for (int k = 1; k <= s->columnCount(); ++k) {
    std::string text;
    if (!valueText(c, *s, k, 0, text)) return;
    const editor::FieldDesc& f = s->fields[static_cast<std::size_t>(k)];
    std::string shown = fixed ? text : base::trimRight(base::trimLeft(text));
    if (printText(c, piece(shown, fixed, f.width, f.type == 'N', c.integer(1)), false) != kPrinted) {
      c.setNumber(kNotPrinted);
      return;
    }
  }
  c.setNumber(printText(c, "", true));
}

// 121: text x in width y with alignment z; a line end when the 4th is non-zero.
void printFormattedText(Call& c) {
  c.setNumber(printFormatted(c, c.text(0), c.integer(1), c.integer(2), c.num(3) != 0));
}

// 122: a line end.
void printLineEnd(Call& c) { c.setNumber(printText(c, "", true)); }

}  // namespace

void addPrinterBuiltins(BuiltinTable& t) {
  t[117] = printColumnName;
  t[118] = printValue;
  t[119] = printHeadings;
  t[120] = printCurrentLine;
  t[121] = printFormattedText;
  t[122] = printLineEnd;
}

}  // namespace runtime

// The data of the open dataset as the edit session holds it: any cell of
// any open level read or written, the current line's columns, the
// standard checks of the value being validated, and the level's 100-
// character state text. Lines other than a level's current one are read
// with peekRecord and written past a held copy of the current line, so the
// line the crew is editing never loses a keyed change; a write to a current
// line goes through the engine's own column write and keeps the column
// values, the record buffer and the screen in step.
#include <algorithm>
#include <string>

#include "apps/level_records.hpp"
#include "base/text.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/engine.hpp"
#include "editor/line_ops.hpp"
#include "editor/screen_draw.hpp"
#include "editor/value_checks.hpp"
#include "runtime/builtins_engine.hpp"
#include "runtime/run_errors.hpp"
#include "tablestore/number_text.hpp"
#include "tablestore/table.hpp"

namespace runtime::engine_builtins {

namespace {

// The state text holds at most this many characters.
constexpr std::size_t kStateTextChars = 100;

// A cell's text as a program sees it: a number without its alignment
// blanks, a text without its trailing blanks.
std::string shownText(const editor::LevelState& s, int k, const std::string& text) {
  return s.fields[static_cast<std::size_t>(k)].type == 'N' ? base::trim(text) : base::trimRight(text);
}

// The cell's value, a text or a number as the call asks for.
void giveCell(Call& c, const editor::LevelState& s, int k, const std::string& text) {
  c.setStatus(kNoError);
  if (c.wantsText())
    c.setText(shownText(s, k, text));
  else
    c.setNumber(tablestore::parseNumber(text));
}

bool lineOf(Call& c, const editor::LevelState& s, std::int32_t line) {
  if (line >= 1 && line <= s.lineCount()) return true;
  refuse(c, kErrLineRange);
  return false;
}

// The field's bytes for text, formatted as the engine writes a keyed value
// (a blank number stays blank). False when the number does not fit.
bool fieldBytes(const editor::FieldDesc& f, std::string_view text, std::string& bytes) {
  bytes.assign(static_cast<std::size_t>(std::max(f.width, 0)), ' ');
  if (f.type != 'N') {
    std::copy_n(text.begin(), std::min(text.size(), bytes.size()), bytes.begin());
    return true;
  }
  if (text.find_first_not_of(' ') == std::string_view::npos) return true;
  return tablestore::formatNumber(tablestore::parseNumber(text), f.decimals, bytes.data(), f.width);
}

// Writes text into column k of line n of level s (not its current line):
// the current record is held aside with its unsaved changes, line n is read,
// changed and written, and the current line put back as it was.
int writeOtherLine(editor::LevelState& s, int k, std::int32_t n, const std::string& bytes) {
  editor::HeldLine held(s);
  int rc = s.table->goRecord(n);
  if (rc == 0) {
    const editor::FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
    std::copy(bytes.begin(), bytes.end(), s.table->recordBuffer() + f.field->offset());
    (void)s.table->changed(1);
    rc = s.table->writeRecord(n);
    if (rc == 0) rc = s.table->flush();
  }
  held.restore(held.line());
  return rc;
}

// Writes the value into column k of line n of level s and puts it on file.
// On the current line the engine's copy follows: the column value, the
// column states and, on the level being edited, the cell on the screen.
void writeCell(Call& c, editor::Engine& e, editor::LevelState& s, int k, std::int32_t n, const std::string& text) {
  if (n != s.line()) {
    std::string bytes;
    if (!fieldBytes(s.fields[static_cast<std::size_t>(k)], text, bytes)) return refuse(c, kErrCantProcess);
    if (writeOtherLine(s, k, n, bytes) != 0) return refuse(c, kErrCantProcess);
    c.setStatus(kNoError);
    c.setNumber(1);
    return;
  }
  if (!editor::writeColumnText(s, k, text)) return refuse(c, kErrCantProcess);
  int rc = s.table->writeRecord(n);
  if (rc == 0) rc = s.table->flush();
  if (&s == &e.level()) {
    (void)editor::evaluateColumnStates(e);
    editor::drawCell(e, k);
    s.header().setRedrawLines(true);
  } else {
    (void)editor::evaluateColumnStates(s, e.levels);
  }
  if (rc != 0) return refuse(c, kErrCantProcess);
  c.setStatus(kNoError);
  c.setNumber(1);
}

// getData(level x, column y, line z).
void getData(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::LevelState* s = levelOf(c, *e, c.integer(0));
  if (!s || !columnOf(c, *s, c.integer(1)) || !lineOf(c, *s, c.integer(2))) return;
  std::string record;
  if (s->table->peekRecord(c.integer(2), record) != 0) return refuse(c, kErrLineRange);
  giveCell(c, *s, c.integer(1), editor::fieldText(*s, c.integer(1), record));
}

// putData(value x, level y, column z, line w).
void putData(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::LevelState* s = levelOf(c, *e, c.integer(1));
  if (!s || !columnOf(c, *s, c.integer(2)) || !lineOf(c, *s, c.integer(3))) return;
  writeCell(c, *e, *s, c.integer(2), c.integer(3), valueText(c, 0));
}

// getColumn(column x) of the current line.
void getColumn(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::LevelState& s = e->level();
  if (!columnOf(c, s, c.integer(0)) || !lineOf(c, s, s.line())) return;
  giveCell(c, s, c.integer(0), editor::currentText(s, c.integer(0)));
}

// putColumn(value x, column y) of the current line.
void putColumn(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::LevelState& s = e->level();
  if (!columnOf(c, s, c.integer(1)) || !lineOf(c, s, s.line())) return;
  writeCell(c, *e, s, c.integer(1), s.line(), valueText(c, 0));
}

// hasValue(column x): a numeric column's number is not 0, a text column's
// text is not blank.
void hasValue(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::LevelState& s = e->level();
  const int k = c.integer(0);
  if (!columnOf(c, s, k) || !lineOf(c, s, s.line())) return;
  c.setStatus(kNoError);
  c.setNumber(editor::valueOfText(s, k, editor::currentText(s, k)) != 0 ? 1 : 0);
}

// validate(): the standard checks of the current column on the value being
// validated (the edit buffer); a check that replaces the value leaves the
// replacement there. 1 when the value passes.
void validate(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::LevelState& s = e->level();
  const int k = s.column();
  if (!columnOf(c, s, k)) return;
  std::string text = s.editBuffer;
  const bool ok = editor::standardChecks(*e, k, text);
  s.editBuffer = text;
  s.header().setEditBuffer(text);
  c.setStatus(kNoError);
  c.setNumber(ok ? 1 : 0);
}

void stateText(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  const std::string text = e->level().header().stateText();
  c.setStatus(kNoError);
  if (c.wantsText())
    c.setText(text);
  else
    c.setNumber(tablestore::parseNumber(text));
}

void setStateText(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  std::string text = c.text(0);
  if (text.size() > kStateTextChars) text.resize(kStateTextChars);
  e->level().header().setStateText(text);
  c.setStatus(kNoError);
  c.setNumber(static_cast<double>(text.size()));
}

}  // namespace

void addDataBuiltins(BuiltinTable& t) {
  t[74] = validate;
  t[75] = getData;
  t[76] = putData;
  t[77] = getColumn;
  t[78] = putColumn;
  t[89] = stateText;
  t[90] = setStateText;
  t[165] = hasValue;
}

}  // namespace runtime::engine_builtins

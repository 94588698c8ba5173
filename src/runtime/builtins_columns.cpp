// The columns of the current level: their table fields (type letter,
// length, decimals, names) and the attributes of their check records, which
// programs read (even numbers) and set (odd numbers) while the session runs.
// The value to set is the second argument. Which attribute each pair reaches:
//
//   29 / 30 / 31  the table field's type letter / length / decimals
//   32, 33        set the field type (the column's state word) to 11
//                 (skipped) / 6 (display only)
//   34 / 35       field type, 0-11 (the state word)
//   36 / 37       automatic-fill kind
//   38 / 39       check type, 0-9 (which standard check the value passes)
//   40            the table field name of column y of level x
//   41            the column of level x whose field is named y (0: none)
//   42 / 43       the check file's name (at most 63 characters)
//   44 / 45       the low limit of the range check
//   46 / 47       the high limit of the range check
//   48 / 49       the required flag (a blank value is missing data)
//
// A changed field type or required flag holds until the level's condition
// rows next decide the column's state; the lines are drawn again so the
// column shows in the colours of its new state.
#include <string>

#include "apps/level_records.hpp"
#include "base/text.hpp"
#include "editor/engine.hpp"
#include "editor/field_formats.hpp"
#include "runtime/builtins_engine.hpp"
#include "runtime/run_errors.hpp"
#include "tablestore/table_field.hpp"

namespace runtime::engine_builtins {

namespace {

// Column x of the current level's check records, or nullptr (the status set).
apps::ColumnCheck* checkOf(Call& c, editor::Engine*& e) {
  e = engineOf(c);
  if (!e) return nullptr;
  editor::LevelState& s = e->level();
  const int k = c.integer(0);
  if (!columnOf(c, s, k)) return nullptr;
  c.setStatus(kNoError);
  return &s.def->checks[static_cast<std::size_t>(k)];
}

const editor::FieldDesc* fieldOf(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return nullptr;
  editor::LevelState& s = e->level();
  const int k = c.integer(0);
  if (!columnOf(c, s, k)) return nullptr;
  c.setStatus(kNoError);
  return &s.fields[static_cast<std::size_t>(k)];
}

void columnType(Call& c) {
  if (const editor::FieldDesc* f = fieldOf(c)) c.setText(std::string(1, f->type));
}
void columnLength(Call& c) {
  if (const editor::FieldDesc* f = fieldOf(c)) c.setNumber(f->width);
}
void columnDecimals(Call& c) {
  if (const editor::FieldDesc* f = fieldOf(c)) c.setNumber(f->decimals);
}

// A state change shows at once in the colours of the column.
void stateChanged(editor::Engine& e) { e.level().header().setRedrawLines(true); }

void setFieldTypeTo(Call& c, int type) {
  editor::Engine* e = nullptr;
  apps::ColumnCheck* k = checkOf(c, e);
  if (!k) return;
  k->setFieldType(type);
  stateChanged(*e);
  c.setNumber(1);
}
void setSkipped(Call& c) { setFieldTypeTo(c, editor::kTypeSkipped); }
void setDisplayOnly(Call& c) { setFieldTypeTo(c, editor::kTypeDisplayOnly); }

// The read and write built-in of one attribute, from its accessors.
template <auto Get>
void readAttribute(Call& c) {
  editor::Engine* e = nullptr;
  if (apps::ColumnCheck* k = checkOf(c, e)) c.setNumber(static_cast<double>((k->*Get)()));
}

template <auto Set, bool ChangesState>
void writeWord(Call& c) {
  editor::Engine* e = nullptr;
  apps::ColumnCheck* k = checkOf(c, e);
  if (!k) return;
  (k->*Set)(c.integer(1));
  if (ChangesState) stateChanged(*e);
  c.setNumber(1);
}

template <auto Set>
void writeNumber(Call& c) {
  editor::Engine* e = nullptr;
  apps::ColumnCheck* k = checkOf(c, e);
  if (!k) return;
  (k->*Set)(c.num(1));
  c.setNumber(1);
}

void setRequired(Call& c) {
  editor::Engine* e = nullptr;
  apps::ColumnCheck* k = checkOf(c, e);
  if (!k) return;
  k->setCheckEmpty(c.integer(1) != 0);
  stateChanged(*e);
  c.setNumber(1);
}

void checkFile(Call& c) {
  editor::Engine* e = nullptr;
  if (apps::ColumnCheck* k = checkOf(c, e)) c.setText(base::trimRight(k->checkFile()));
}

void setCheckFile(Call& c) {
  editor::Engine* e = nullptr;
  apps::ColumnCheck* k = checkOf(c, e);
  if (!k) return;
  k->setCheckFile(base::trimRight(c.text(1)));
  c.setNumber(1);
}

// fieldName(level x, column y): the level's table field of the column.
void fieldName(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::LevelState* s = levelOf(c, *e, c.integer(0));
  if (!s || !columnOf(c, *s, c.integer(1))) return;
  c.setStatus(kNoError);
  c.setText(base::trimRight(s->fields[static_cast<std::size_t>(c.integer(1))].field->name()));
}

// columnNumber(level x, name y): 0 when no column's field has the name.
void columnNumber(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  editor::LevelState* s = levelOf(c, *e, c.integer(0));
  if (!s) return;
  c.setStatus(kNoError);
  const std::string name = base::trim(c.text(1));
  c.setNumber(name.empty() ? 0 : s->def->columnNamed(name));
}

using CC = apps::ColumnCheck;

}  // namespace

void addColumnBuiltins(BuiltinTable& t) {
  t[29] = columnType;
  t[30] = columnLength;
  t[31] = columnDecimals;
  t[32] = setSkipped;
  t[33] = setDisplayOnly;
  t[34] = readAttribute<&CC::fieldType>;
  t[35] = writeWord<&CC::setFieldType, true>;
  t[36] = readAttribute<&CC::fillKind>;
  t[37] = writeWord<&CC::setFillKind, false>;
  t[38] = readAttribute<&CC::checkType>;
  t[39] = writeWord<&CC::setCheckType, false>;
  t[40] = fieldName;
  t[41] = columnNumber;
  t[42] = checkFile;
  t[43] = setCheckFile;
  t[44] = readAttribute<&CC::minimum>;
  t[45] = writeNumber<&CC::setMinimum>;
  t[46] = readAttribute<&CC::maximum>;
  t[47] = writeNumber<&CC::setMaximum>;
  t[48] = readAttribute<&CC::checkEmpty>;
  t[49] = setRequired;
}

}  // namespace runtime::engine_builtins

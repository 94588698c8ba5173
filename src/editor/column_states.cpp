#include "editor/column_states.hpp"

#include <algorithm>
#include <string>

#include "apps/layout.hpp"
#include "base/text.hpp"
#include "editor/column_values.hpp"
#include "editor/engine.hpp"
#include "editor/field_formats.hpp"
#include "tablestore/table.hpp"

namespace editor {

namespace {

namespace bcf = apps::layout::bcf_entry;

enum Action : int {
  kNone = 0,
  kClear = 1,
  kRequired = 2,
  kSkip = 3,
  kSkipClear = 4,
  kDisplay = 5,
  kDisplayClear = 6,
};

// The value a condition compares: the column's text and number on the
// source line, blank and 0 when there is none.
struct SourceValue {
  bool numeric = false;
  std::string text;
  double value = 0;
};

SourceValue sourceValue(const LevelState& s, const OpenLevels& levels, int source, int col) {
  const LevelState* from = nullptr;
  if (source == 0) from = &s;
  else if (source >= 1 && source <= 5) from = &levels[static_cast<std::size_t>(source)];
  SourceValue v;
  if (!from || !from->open() || col < 1 || col > from->columnCount()) return v;
  const FieldDesc& f = from->fields[static_cast<std::size_t>(col)];
  if (!f.field) return v;
  v.numeric = f.type == 'N';
  v.text = base::trimRight(currentText(*from, col));
  v.value = from->header().columnValue(col);
  return v;
}

bool conditionHolds(const apps::BcfEntry& row, int i, const SourceValue& v) {
  switch (row.kind(i)) {
    case 0:
      // Row texts are compared without the blanks that pad the field.
      return v.numeric ? v.value == row.low(i) : v.text == base::trimRight(row.text(i));
    case 1:
      return row.low(i) <= v.value && v.value <= row.high(i);
    default:
      return false;
  }
}

// Blanks column k (character) or sets it to 0 (numeric); true when the
// record's bytes changed.
bool clearColumn(LevelState& s, int k) {
  const FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
  const std::string before = currentText(s, k);
  const bool blank = before.find_first_not_of(' ') == std::string::npos;
  if (blank) return false;  // nothing to clear; a blank number is already empty
  if (!writeColumnText(s, k, f.type == 'N' ? std::string_view("0") : std::string_view())) return false;
  return currentText(s, k) != before;
}

}  // namespace

void restoreColumnStates(LevelState& s) {
  if (!s.def) return;
  const int c = std::min(s.def->lastColumn(), static_cast<int>(s.untouched.size()) - 1);
  for (int k = 1; k <= c; ++k) {
    apps::ColumnCheck& work = s.def->checks[static_cast<std::size_t>(k)];
    const apps::ColumnCheck& own = s.untouched[static_cast<std::size_t>(k)];
    work.setFieldType(own.fieldType());
    work.setCheckEmpty(own.checkEmpty());
  }
}

bool conditionsHold(const apps::BcfEntry& row, const LevelState& s, const OpenLevels& levels) {
  const apps::LevelInfo& info = s.def->info;
  const int n = info.conditionCount();
  if (n <= 0) return false;
  for (int i = 0; i < n; ++i) {
    const SourceValue v = sourceValue(s, levels, info.conditionSource(i), info.conditionColumn(i));
    if (!conditionHolds(row, i, v)) return false;
  }
  return true;
}

ColumnStatesResult evaluateColumnStates(LevelState& s, const OpenLevels& levels) {
  ColumnStatesResult out;
  if (!s.open() || s.def->conditions.empty()) return out;
  // Actions exist for columns 1-255 only; the level's own columns bound them.
  const int c = std::min({s.columnCount(), s.def->lastColumn(), static_cast<int>(bcf::kActionCount) - 1});
  std::vector<std::pair<int, bool>> before;
  before.reserve(static_cast<std::size_t>(std::max(c, 0)));
  for (int k = 1; k <= c; ++k) {
    const apps::ColumnCheck& w = s.def->checks[static_cast<std::size_t>(k)];
    before.emplace_back(w.fieldType(), w.checkEmpty());
  }
  restoreColumnStates(s);

  const auto& rows = s.def->conditions;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (conditionsHold(rows[r], s, levels)) {
      out.row = static_cast<int>(r);
      break;
    }
  }
  if (out.row >= 0) {
    const apps::BcfEntry& row = rows[static_cast<std::size_t>(out.row)];
    for (int k = 1; k <= c; ++k) {
      apps::ColumnCheck& w = s.def->checks[static_cast<std::size_t>(k)];
      const int a = row.action(k);
      switch (a) {
        case kRequired:
          w.setCheckEmpty(true);
          break;
        case kSkip: case kSkipClear:
          w.setFieldType(kTypeSkipped);
          w.setCheckEmpty(false);
          break;
        case kDisplay: case kDisplayClear:
          w.setFieldType(kTypeDisplayOnly);
          w.setCheckEmpty(false);
          break;
        default:
          break;
      }
      if ((a == kClear || a == kSkipClear || a == kDisplayClear) && clearColumn(s, k)) out.cleared = true;
    }
  }
  for (int k = 1; k <= c && !out.changed; ++k) {
    const apps::ColumnCheck& w = s.def->checks[static_cast<std::size_t>(k)];
    const auto& [type, required] = before[static_cast<std::size_t>(k - 1)];
    out.changed = w.fieldType() != type || w.checkEmpty() != required;
  }
  if (out.cleared) {
    // The cleared values are on file at once, as a typed value would be
    // when the line is stored.
    if (s.line() >= 1 && s.line() <= s.lineCount()) (void)s.table->writeRecord(s.line());
    refreshColumnValues(s);
  }
  return out;
}

ColumnStatesResult evaluateColumnStates(Engine& e) {
  ColumnStatesResult out = evaluateColumnStates(e.level(), e.levels);
  if (out.changed || out.cleared) e.level().header().setRedrawLines(true);
  return out;
}

}  // namespace editor

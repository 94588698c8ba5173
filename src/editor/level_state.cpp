#include "editor/level_state.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "tablestore/table.hpp"

namespace editor {

bool openLevelState(LevelState& state, int level, apps::LevelDefinition& def, tablestore::Table& table) {
  state = LevelState{};
  const int c = def.lastColumn();
  std::vector<FieldDesc> fields(static_cast<std::size_t>(std::max(c, 0)) + 1);
  for (int k = 1; k <= c; ++k) {
    const apps::ColumnField* cf = def.field(k);
    tablestore::TableField* f = table.fieldByName(base::trimRight(cf->name()));
    // A table made for another definition would have the engine write one
    // column's value into another's bytes.
    if (!f || f->type() != cf->type() || f->length() != cf->width()) return false;
    fields[static_cast<std::size_t>(k)] = {f, f->type() == 'N' ? 'N' : 'C', f->length(), f->decimals()};
  }
  state.level = level;
  state.def = &def;
  state.table = &table;
  state.fields = std::move(fields);
  state.untouched.assign(def.checks.begin(), def.checks.begin() + (c + 1));

  apps::LevelHeader& h = def.header;
  h.setColumnCount(c);
  const auto count = static_cast<std::int32_t>(std::min<std::int64_t>(table.recordCount(), INT32_MAX));
  h.setLineCount(count);
  int first = h.firstEnterableColumn(), last = h.lastEnterableColumn();
  if (first < 1 || first > c) first = c >= 1 ? 1 : 0;
  if (last < first || last > c) last = c;
  h.setFirstEnterableColumn(first);
  h.setLastEnterableColumn(last);
  // A kept position is used when it still lies inside the level.
  std::int32_t line = h.curLine();
  if (line < 1 || line > count) line = count >= 1 ? 1 : 0;
  h.setCurLine(line);
  int col = h.curColumn();
  if (col < first || col > last) col = first;
  h.setCurColumn(col);
  h.setLineModified(false);
  h.setMustStore(false);
  h.setLeaveLevel(false);
  h.setExitKey(0);
  return true;
}

}  // namespace editor

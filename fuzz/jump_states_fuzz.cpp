// libFuzzer target for jump files and condition rows, both shipped in
// application packages. The input is split in two: the first part (its
// length in the first two bytes) is written as a table and every key of a
// jump is looked up in it with each match kind; the rest becomes the
// condition columns and .bcf rows of a small fixed level, evaluated over a
// line of that level (its text, numbers and a level that is not open).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "apps/level_definition.hpp"
#include "scratch_file.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/follow_jump.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"
#include "ui/keys.hpp"

namespace {

std::string scratch(const char* what) { return fuzz_support::scratchPath(std::string("jump") + what); }

void jumpLookups(const std::uint8_t* data, std::size_t size) {
  if (!fuzz_support::writeScratch(scratch(".dbf"), data, size)) return;
  tablestore::TableStore store;
  tablestore::Table* t = store.openTable(scratch(".dbf"));
  if (!t) return;
  const editor::MatchKey keys[] = {{"AA", 0}, {"~", 3}, {"", -1}, {"ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ", 1e300}};
  const ui::KeyCode codes[] = {ui::key::kEnter, ui::key::kUp, ui::key::kDown, ui::key::kLeft, ui::key::kRight};
  for (int kind = 0; kind <= 4; ++kind) {
    for (const auto& key : keys) {
      for (ui::KeyCode code : codes) {
        store.clearError();
        (void)editor::findJumpTarget(*t, kind, key, code);
      }
    }
  }
  (void)store.closeTable(t);
}

// Level: CODE C4, COUNT N5.1, NOTE C8.
void conditionRows(const std::uint8_t* data, std::size_t size) {
  apps::LevelDefinition def;
  const struct { const char* name; char type; int width, decimals; } columns[] = {
      {"", 'C', 0, 0}, {"CODE", 'C', 4, 0}, {"COUNT", 'N', 5, 1}, {"NOTE", 'C', 8, 0}};
  for (const auto& c : columns) {
    apps::ColumnField f;
    f.setName(c.name);
    f.setType(c.type);
    f.setWidth(c.width);
    f.setDecimals(c.decimals);
    def.fields.push_back(f);
  }
  def.fieldList = apps::buildFieldList(def.fields);
  // 1 byte count, 5 columns, 5 sources (16-bit each taken as signed bytes), then rows.
  if (size < 11) return;
  def.info.setConditionCount(static_cast<std::int8_t>(data[0]));
  for (int i = 0; i < 5; ++i) {
    def.info.setConditionColumn(i, static_cast<std::int8_t>(data[1 + i]));
    def.info.setConditionSource(i, static_cast<std::int8_t>(data[6 + i]));
  }
  data += 11;
  size -= 11;
  for (std::size_t at = 0; at < size && def.conditions.size() < 8; at += apps::BcfEntry::kSize) {
    apps::BcfEntry row;
    std::memcpy(row.bytes().data(), data + at, std::min(apps::BcfEntry::kSize, size - at));
    def.conditions.push_back(row);
  }

  tablestore::TableStore store;
  platform::deleteFile(scratch("-level.dbf"));
  tablestore::Table* t = store.createTable(scratch("-level.dbf"), def.fieldList);
  if (!t) return;
  editor::OpenLevels levels;
  editor::LevelState& s = levels[1];
  if (editor::openLevelState(s, 1, def, *t) && t->appendStart() == 0 && t->append() == 0) {
    s.header().setLineCount(static_cast<std::int32_t>(t->recordCount()));
    s.header().setCurLine(1);
    const char* lines[][3] = {{"D", "12.5", "note"}, {"AA", "0", ""}, {"", "", "x"}};
    for (const auto& line : lines) {
      for (int k = 1; k <= 3; ++k) (void)editor::writeColumnText(s, k, line[k - 1]);
      editor::refreshColumnValues(s);
      (void)editor::evaluateColumnStates(s, levels);
      // Whatever the rows say, the states stay those a column may have.
      for (int k = 1; k <= 3; ++k) {
        const int type = def.checks[static_cast<std::size_t>(k)].fieldType();
        if (type != 0 && type != 6 && type != 11) __builtin_trap();
      }
    }
  }
  (void)store.closeTable(t);
}

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 8192;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  if (size < 2) return 0;
  std::size_t tableSize = static_cast<std::size_t>(data[0]) | (static_cast<std::size_t>(data[1]) << 8);
  data += 2;
  size -= 2;
  tableSize = std::min(tableSize, size);
  jumpLookups(data, tableSize);
  conditionRows(data + tableSize, size - tableSize);
  return 0;
}

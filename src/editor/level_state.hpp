#pragma once
// The run-time side of one open level's edit state. The state itself (current
// line and column, line count, top and bottom line, exit key, flags, column
// values) lives in the level definition's LevelHeader image, where runtime
// programs read and set it; beside it the engine keeps what no file holds:
// the open table, the field descriptors, the untouched copy of the column
// states and the edit buffer.
#include <cstdint>
#include <string>
#include <vector>

#include "apps/level_definition.hpp"

namespace tablestore {
class Table;
class TableField;
}  // namespace tablestore

namespace editor {

// One column's table field.
struct FieldDesc {
  tablestore::TableField* field = nullptr;
  char type = 'C';  // 'C' character or 'N' numeric
  int width = 0;
  int decimals = 0;
};

struct LevelState {
  int level = 0;                              // 1-5; 0 while not open
  apps::LevelDefinition* def = nullptr;       // the level's definition (owned by the application)
  tablestore::Table* table = nullptr;         // the level table (owned by the table store)
  std::vector<FieldDesc> fields;              // index 1..columnCount; [0] unused
  std::vector<apps::ColumnCheck> untouched;   // the column states as loaded, index 0..c
  std::string editBuffer;                     // the current cell's text while it is edited
  // A value the checks refused: the next edit of the cell starts from it, so
  // the crew corrects what they typed instead of typing it again.
  bool retry = false;
  std::string retryText;

  bool open() const { return level != 0 && def && table; }
  apps::LevelHeader& header() { return def->header; }
  const apps::LevelHeader& header() const { return def->header; }
  int columnCount() const { return static_cast<int>(fields.size()) - 1; }

  // Shorthands for the header's edit state.
  std::int32_t line() const { return header().curLine(); }
  int column() const { return header().curColumn(); }
  std::int32_t lineCount() const { return header().lineCount(); }
};

// Makes state the edit state of level (1-5) over its definition and its open
// table: the field descriptors of columns 1..c (each the table field of the
// column's name), the untouched copy of the column states, the line count
// from the table, the current line and column clamped (a kept position is
// used when it still fits). False when a column's field is missing from the
// table or has another type or width (the table does not belong to the
// definition); the state is then not open.
[[nodiscard]] bool openLevelState(LevelState& state, int level, apps::LevelDefinition& def,
                                  tablestore::Table& table);

}  // namespace editor

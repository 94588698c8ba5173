#pragma once
// The conditional column states of a level: its condition rows switch
// columns between required, skipped and display only, and may clear them,
// according to values already entered on this level's current line or on
// the current line of another open level.
#include <array>

#include "editor/level_state.hpp"

namespace editor {

struct Engine;

// The open levels the condition columns read from: index 1-5 (index 0
// unused); a level that is not open counts as an empty line.
using OpenLevels = std::array<LevelState, 6>;

// What one evaluation did.
struct ColumnStatesResult {
  int row = -1;           // the row (0-based) whose conditions held, or -1
  bool changed = false;   // a column's field type or required flag differs from before
  bool cleared = false;   // a column's stored text changed (the record was written)
};

// Gives every column 1..c of s back its own field type and required
// (check-empty) flag from the untouched copy taken when the level was opened.
void restoreColumnStates(LevelState& s);

// Whether the conditions of row hold for s's condition columns. A condition
// on a column that does not exist or on a level that is not open reads an
// empty value (blank text, 0); a kind other than equal (0) or range (1)
// never holds. A level without condition columns has no row that holds.
[[nodiscard]] bool conditionsHold(const apps::BcfEntry& row, const LevelState& s, const OpenLevels& levels);

// Evaluates s's condition rows: restores every column's state, then applies
// the actions of the first row whose conditions hold to columns 1..c (an
// action for a column beyond the level's last column is ignored; unknown
// action codes do nothing). A clearing action blanks a character column and
// sets a numeric one to 0 (a numeric field that is already blank stays
// blank); when that changed the record, it is written to the current line
// and the column values are recomputed. A level without condition rows is
// left as it is (a program's changes to its states stay).
ColumnStatesResult evaluateColumnStates(LevelState& s, const OpenLevels& levels);

// The same for the engine's current level; marks the lines for redraw when
// a state changed or a column was cleared.
ColumnStatesResult evaluateColumnStates(Engine& e);

}  // namespace editor

#pragma once
// The column search of the edit window (F3, Ctrl+F; the command itself is
// declared with the other commands in later_commands.hpp).
#include "editor/level_state.hpp"

namespace editor {

// The column a search moves to from column k with Tab (step +1) or
// Shift+Tab (step -1): the nearest column that way inside the enterable
// columns that is shown and not skipped; k itself when there is none.
int nextSearchColumn(const LevelState& s, int k, int step);

}  // namespace editor

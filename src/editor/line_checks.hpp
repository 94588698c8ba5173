#pragma once
// The missing-data checks of a line and of a whole level, run when a line or
// a level is left.
#include "editor/engine.hpp"

namespace editor {

// Recomputes the column values of the current line; with missing set checks
// its required columns (and, with leaving set, its running timers) and
// returns false on the first failing column with the cursor placed on it.
[[nodiscard]] bool checkLine(Engine& e, bool missing, bool leaving);

// The missing-data check over every line of the current level (F4, Escape,
// the sibling jump). True when the level may be left; false to stay, with
// the cursor on the failing cell.
[[nodiscard]] bool checkLevel(Engine& e);

}  // namespace editor

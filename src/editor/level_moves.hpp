#pragma once
// Leaving the level and moving to a child or a sibling table. Each command
// runs the checks and programs the level asks for and, when it may go, sets
// the level's leave flag together with Engine::change (and, for a table
// chosen beforehand, changeTable and changeNumber); the data collection loop
// does the move itself. Every refusal leaves the level as it was, with the
// cursor on the cell that caused it.
#include "editor/engine.hpp"

namespace editor {

// How long the refusals of the level moves stay up (tens of milliseconds).
inline constexpr int kLevelMoveWarnTime = 250;

// F4 (and Escape on a level that checks on leaving): the GPS requirement,
// running timers ("Can't Exit File" "Timers Active"), the line stored, the
// before-leaving program, the removal of trailing empty lines (none left:
// the level goes at once), the missing-data check (stay: a beep) and the
// leaving program. True when the level is being left.
bool leaveWithChecks(Engine& e);

// F5 towards the child entry preselect (1-26) of the current table, or
// with 0 the one the crew picks from the list afterwards. Nothing happens
// on a level without child tables (the F5 key beeps there). True when the
// move was asked for.
bool childLevelTo(Engine& e, int preselect);

// Alt+F5 towards the sibling entry preselect (1-26), or 0 for the list.
// Only on a level whose table has siblings. True when the jump was asked for.
bool siblingJumpTo(Engine& e, int preselect);

// A move asked for beforehand (the hierarchy menu) stands in Engine::change
// (Child or Sibling) with changeNumber while the level's leave flag is
// clear: the next F5 or Alt+F5 takes that entry instead of offering the
// list; any level key clears it.
int takePreselect(Engine& e, Engine::LevelChange kind);

// Whether the current table has child tables below it (and a level for them).
bool hasChildLevel(Engine& e);

}  // namespace editor

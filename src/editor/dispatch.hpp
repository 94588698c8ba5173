#pragma once
// The command dispatcher: acts on the key that ended the last field edit
// (the exit key in the level's edit state), then clamps the position.
#include "editor/engine.hpp"

namespace editor {

void dispatchExitKey(Engine& e);

// Leaving the level with Escape: the current line is stored; on a level
// without missing-data checks on leaving the crew is asked "Exit Without
// Missing" " Data Checks? (Y/N)" first; the empty lines at the end go when
// the level asks for it; then the level's leave flag is set.
void leaveLevel(Engine& e);

}  // namespace editor

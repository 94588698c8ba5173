#pragma once
// The command dispatcher: acts on the key that ended the last field edit
// (the exit key in the level's edit state), then clamps the position.
#include "editor/engine.hpp"

namespace editor {

void dispatchExitKey(Engine& e);


}  // namespace editor

#pragma once
// Stopwatch columns (field type 7): Ctrl+T starts and stops them; a running
// timer holds -slot in its value.
#include <string>

#include "editor/engine.hpp"

namespace editor {

// The first timer column of the current line that is running, or 0.
int runningTimer(Engine& e);

}  // namespace editor

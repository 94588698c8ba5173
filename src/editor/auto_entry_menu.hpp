#pragma once
// The automatic-entry menu switches a column between no fill, auto copy and
// auto increment for the rest of the edit session.
#include "editor/engine.hpp"

namespace editor {

// Whether the menu is offered on column k of s: not a unique-entry column,
// no check type, fill kind 0, 1 or 2, and not a sensor, display-only, timer
// or millisecond-time column.
bool autoEntryOffered(const LevelState& s, int k);

// Gives every column of s back the fill kind it was loaded with (the menu's
// choice lasts for one edit session; the definitions outlive it).
void restoreFillKinds(LevelState& s);

}  // namespace editor

#pragma once
// The event programs an application attaches to a level and its columns.
// A program refuses by returning 0; one that fails (the interpreter reports
// an error) counts as accepted. While runtime programs cannot be run (the
// hooks say none ran) every event counts as accepted.
#include "editor/engine.hpp"

namespace editor {

// Runs the current level's program for event (layout::level_header::LevelEvent)
// when the level names one. True when the command goes on; false when the
// program returned 0.
bool levelEvent(Engine& e, int event);

// Whether the current level names a program for event.
bool levelHasProgram(Engine& e, int event);

// Runs column k's program for event (layout::column_check::ColumnEvent) when
// the column names one; the result as the hooks gave it ({ran = false} when
// it has none).
ProgramResult columnEvent(Engine& e, int k, int event);

// Whether a result lets the command go on: not run, failed, or non-zero.
inline bool accepted(const ProgramResult& r) { return !r.ran || r.failed || r.value != 0; }

}  // namespace editor

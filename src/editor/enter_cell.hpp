#pragma once
// The entry loop for the cell under the cursor: skip columns the cursor never
// stops on, draw what changed, fill on entry, run the column's programs and
// the editor of its field type, check and store a changed value, and act on
// the key that ended the editor.
#include "editor/engine.hpp"
#include "editor/field_context.hpp"

namespace editor {

// One pass for the current cell, ending with the dispatch of its exit key.
// Returns false when the level is being left (its leave flag is set) or
// the session aborted.
bool enterCell(Engine& e);

// The editor options of column k of the current level.
FieldOptions fieldOptionsOf(const LevelState& s, int k);

// Runs the editor of column k's field type over text; returns the exit key.
// Columns that take no editing (display only, time with milliseconds, timer
// and unknown types) wait for a key instead.
ui::KeyCode runFieldEditor(Engine& e, int k, std::string& text, bool& changed);

}  // namespace editor

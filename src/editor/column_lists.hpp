#pragma once
// The pick list of a code-list column.
#include "editor/engine.hpp"

namespace editor {

// Runs the pick list of the column's check file and takes a picked value as
// entered; false when nothing was picked.
bool pickFromColumnList(Engine& e);

}  // namespace editor

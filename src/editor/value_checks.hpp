#pragma once
// The checks a value passes before it is stored: the column's validation
// programs, the standard checks (ranges, lengths, pictures, check files,
// relations) and the unique-entry check. Every path that puts a value into
// a cell — typing, the clock fills, copying the cell above — goes through
// acceptValue, so none of them gets round a check.
#include <string>

#include "editor/engine.hpp"

namespace editor {

// The standard checks of column k for text (which a replacing check may
// change). True when the value may be stored.
bool standardChecks(Engine& e, int k, std::string& text);

// The unique-entry check of column k: true when no other line of the level
// holds text (text: the same characters; numbers: the same value). The
// current line is never compared with itself, and a blank text always
// passes. Lines are read from the table, the current record buffer left as
// it is. A clash shows "Entry Must" "Be Unique" (2.5 s or a key): false.
bool uniqueCheck(Engine& e, int k, const std::string& text);

// Runs the checks of a changed value of column k in order (validate-before
// program, the validate-instead program or the standard checks, the
// after-checks program, the unique check for a unique column) and, when all
// accept, writes text into the record, updates the column's value and draws
// the cell. False when something refused (nothing was written).
bool acceptValue(Engine& e, int k, std::string text);

}  // namespace editor

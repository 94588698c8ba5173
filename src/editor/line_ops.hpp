#pragma once
// Storing, entering and appending the lines of the current level. A line is
// a record of the level table; the record buffer holds the current line. A
// stored line is written in place and the table flushed, so a program killed
// at any later moment keeps it.
#include <cstdint>

#include "editor/engine.hpp"

namespace editor {

// Leaves the current line: runs the line-exit program (0 refuses: false, the
// line stays current and unwritten), then writes the record when it changed
// and flushes the table. False also when the write failed (the table store
// has shown why; the line stays in the buffer so nothing is lost).
[[nodiscard]] bool storeLine(Engine& e);

// Makes line n (1..line count) current: reads it, recomputes the column
// values and runs the line-entry program. The current line must have been
// stored. False when n is no line or the record cannot be read.
bool enterLine(Engine& e, std::int32_t n);

// Appends a blank line after the last one and makes it current (the
// new-line program runs). False when the level has its maximum of lines or
// the table refused the record.
bool appendLine(Engine& e);

// True when every enterable column of the record is blank.
bool lineIsEmpty(const LevelState& s, std::string_view record);

// From the last line backwards, removes the lines whose enterable columns
// are all blank, stopping at the first with data; the table is packed and
// the line count, current line and window follow. Returns how many went.
int removeTrailingEmptyLines(Engine& e);

}  // namespace editor

#pragma once
// Cursor movement over the current level: by a column's movement pair, to
// another line, and the clamps after every command.
#include <cstdint>

#include "editor/engine.hpp"

namespace editor {

// The column count of a movement pair beyond ±1000 moves relative to 1000.
inline constexpr int kPairColumnLimit = 1000;

// The column a pair's column count c reaches from current: |c| ≤ 1000 moves
// to current + c clamped to [first, last]; a count beyond ±1000 moves to
// current + c − 1000 clamped to [1, last] (so 1003 moves three columns right
// and −1003 to column 1).
int pairColumn(int current, int c, int first, int last);

// The current column clamped to the enterable columns and the column
// count, the line to the maximum lines and the line count; then the window
// of lines follows the current line (VirtualDisplay), asking for the lines
// to be drawn again when it moved.
void clampPosition(Engine& e);

// Makes line n current (clamped to 1..line count), storing the current line
// first. False when the store was refused (the line stays).
bool goLine(Engine& e, std::int32_t n);

// Steps delta lines (negative: back, stopping at line 1; positive: forward,
// appending new lines past the end while the level allows and the last line
// is not empty). False only when the store of the current line was refused.
bool stepLines(Engine& e, std::int32_t delta);

// Moves by a pair: lines first (stepLines), then the column: after a line
// change with the column's go-to flag, the first empty column up to its
// target; otherwise current + columns by pairColumn.
void moveRelative(Engine& e, int lines, int columns);

}  // namespace editor

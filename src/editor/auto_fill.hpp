#pragma once
// The values a new line starts with, by each column's automatic-fill kind.
#include <cstdint>

#include "editor/engine.hpp"

namespace apps {
class ColumnCheck;
}

namespace editor {

// The value a line-number column holds on line n: start + n × step (step 0
// counts as 1). The fill of a new line and the renumbering of a level use it.
double lineNumberValue(const apps::ColumnCheck& c, std::int32_t n);

// Fills every column of the new current record by its kind; firstLine when it
// is line 1, appending when it was added at the end. An appended line starts
// as a copy of the line before it; an inserted one (the caller has made the
// blank record current) takes the line before it only for copy columns. The
// line before is read without moving off the new record. Every written
// value updates the column's value.
void initNewLine(Engine& e, bool firstLine, bool appending);

// Writes the number into column k of the current record: numeric fields
// formatted to the field, character fields as its shortest text. A number
// the field cannot hold leaves the column blank. False for no column or when
// it could not be written.
bool writeColumnNumber(LevelState& s, int k, double value);

// Puts the current record on file at once (written in place and flushed)
// when it changed, so a value the engine made itself (a drawn number, a
// timer reading) survives the program ending. False when it could not be
// written (the table store has shown why; the buffer keeps the value).
[[nodiscard]] bool storeLineNow(LevelState& s);

}  // namespace editor

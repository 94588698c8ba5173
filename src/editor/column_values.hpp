#pragma once
// The values of the current line's columns, read from the level table's
// record buffer: for numeric fields and for character fields of the numeric
// field type the number the text holds; for other character fields the
// length of the text without trailing blanks (so 0 means empty). Kept in the
// level header for validation, relations, missing-data checks and programs.
#include <string>
#include <string_view>

#include "editor/level_state.hpp"

namespace editor {

// Column k's text (its field's width) in a record image (byte 0 the deletion
// flag, as Table::recordBuffer and peekRecord give it); "" for a bad column.
std::string fieldText(const LevelState& s, int k, std::string_view record);
// The same from the current record buffer.
std::string currentText(const LevelState& s, int k);

// The value of column k for the text of its field.
double valueOfText(const LevelState& s, int k, std::string_view text);

// Recomputes column k's value from the current record and stores it in the header.
void refreshColumnValue(LevelState& s, int k);
// Every column's value.
void refreshColumnValues(LevelState& s);

// Writes text (the edit buffer) into column k of the record buffer: character
// fields as the text, numeric fields as the number it holds formatted to the
// field. Marks the record changed and the line modified. False when the
// number does not fit the field (nothing is written) or k is no column.
[[nodiscard]] bool writeColumnText(LevelState& s, int k, std::string_view text);

}  // namespace editor

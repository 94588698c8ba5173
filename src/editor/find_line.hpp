#pragma once
// Finding a line of the current level by the value of one column, for the
// column search. Lines are read with Table::peekRecord, so a scan never
// writes back or moves the line being edited.
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/level_state.hpp"

namespace editor {

// Whether column k is searched by number (a numeric table field, or a
// character field of the numeric field type) rather than by text.
bool searchesByNumber(const LevelState& s, int k);

// How a field's text stands against the search text in column k:
// 0 when it matches, < 0 when the search text sorts before the field's
// value, > 0 when after it. Text columns: the search text without its
// trailing blanks against as many leading characters of the field, both with
// letters folded to capitals (so "ab" matches "ABC"). Number columns: the two
// numbers rounded to the field's decimals (so 12.30 matches 12.3).
int compareForSearch(const LevelState& s, int k, std::string_view fieldText, std::string_view searchText);

// The first line from first to the last line whose column k matches text;
// 0 when none does, first is past the last line, or k is no column. A first
// before line 1 starts at line 1.
[[nodiscard]] std::int32_t findFromLine(const LevelState& s, int k, std::int32_t first, std::string_view text);

// Halving over all lines (meaningful only when the lines are in ascending
// order of column k): the line probed that matches, or 0 when the probes
// close in without a match.
[[nodiscard]] std::int32_t findByHalving(const LevelState& s, int k, std::string_view text);

// The search text a search on column k starts with: blanks (the field's
// width, at most 30) for a text column; zero formatted to the field's width
// and decimals for a number column.
std::string blankSearchText(const LevelState& s, int k);

}  // namespace editor

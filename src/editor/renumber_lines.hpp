#pragma once
// Renumbering the line-number columns of the current level after a line was
// inserted or deleted, with the child files of every line whose key moves
// renamed to the new key first.
#include <string>
#include <utility>
#include <vector>

#include "datasets/line_children.hpp"
#include "editor/engine.hpp"

namespace editor {

// The automatic-fill kind of a line-number column.
inline constexpr int kFillLineNumber = 3;

// Which end the work starts from: after an insert the keys grow, so the last
// line goes first (its new key is free); after a delete they shrink, so the
// first line goes first.
enum class RenumberOrder { FromLast, FromFirst };

// Writes lineNumberValue(column, n) into every line-number column of every
// line n (1..line count). When that changes a line's key fields (table
// fields 1..level) on a level with child levels, the line's child files are
// moved to the new key path, then the line is written and the table flushed,
// so a program killed at any moment keeps every line and every table. A
// line whose children cannot move (a file of the new name exists, a key is
// blank, a rename failed) keeps its old number and the crew is told once.
// The current line must have been stored (a new line in the record buffer
// is written with the others); it is made current again afterwards.
// Returns how many lines kept their old number; 0 when all went well.
[[nodiscard]] int renumberLines(Engine& e, RenumberOrder order = RenumberOrder::FromLast);

// True when the current level has child tables below it.
bool levelHasChildren(const Engine& e);

// The key fields 1..level of the current record buffer, as stored.
std::vector<std::string> lineKeys(LevelState& s);
// The current level's line with those keys, in the open dataset.
datasets::LineOwner lineOwner(const Engine& e, const std::vector<std::string>& keys);
// The current record's "CHILD1".."CHILD26" fields that name a table renamed
// {from, to} are set to its new name (the record is marked changed).
void relinkChildFields(LevelState& s, const std::vector<std::pair<std::string, std::string>>& moved);

}  // namespace editor

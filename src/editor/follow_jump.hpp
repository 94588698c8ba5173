#pragma once
// Jump files: leaving a column that has a jump definition, the value just
// entered (or another column's) is looked up in a small table shipped with
// the application, whose record names the column to go to for each of the
// keys Enter, Right, Left, Down and Up.
#include <cstdint>

#include "editor/check_files.hpp"
#include "ui/keys.hpp"

namespace tablestore {
class Table;
}

namespace editor {

struct Engine;

// Whether key may jump: Enter, Up, Down (and the wheel turned back), Left, Right.
bool isJumpKey(ui::KeyCode key);

// The field (1-based) of a jump record of fieldCount fields that holds the
// target column for key, counted from the last field n: Enter (or no key)
// n, Right n-1, Left n-2, Down n-3, Up n-4. 0 for a key that does not jump
// and for a record too short for the key (the field would be the key
// field 1 or before it).
int jumpTargetField(ui::KeyCode key, int fieldCount);

// Looks key up in field 1 of the open jump file (kind 1 text with the "~"
// fallback, 2 number, 3 range on fields 1-2) and returns the column number
// the matching record holds for keyCode; 0 when no record matches, the
// record is too short for the key, or the field holds no column number.
int findJumpTarget(tablestore::Table& jumpFile, int kind, const MatchKey& key, ui::KeyCode keyCode);

// Consulted by the dispatcher before it acts on key at the current column.
// When the column has a jump definition and the jump file names an
// enterable, visible column that is not skipped for key, that column becomes
// current, the exit key is set to 1 and true is returned (the key does
// nothing more). Otherwise false: no move. A missing jump file shows "Can't
// Find Jump File", one that cannot be opened "Can't Open Jump File" (with the
// file name), a relation that finds nothing "No Jump Match" with
// "Relate Sc:%1d Cl:%2d"; each for half a second.
[[nodiscard]] bool followJump(Engine& e, ui::KeyCode key);

}  // namespace editor

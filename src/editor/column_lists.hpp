#pragma once
// The choice lists of a column's code list: the pick list (F2), the
// type-ahead list (Alt+E) and the columns keyed in through the list. Each
// opens the column's check file for the showing only.
#include <string>

#include "editor/engine.hpp"
#include "ui/keys.hpp"

namespace editor {

// F2 on a code-list column: the pick list of the check file; a picked row's
// first field is taken as entered (checked, stored, then acted on as Enter).
// False when nothing was picked or the file could not be had (the reason was
// shown for 2 s).
bool pickFromColumnList(Engine& e);

// Alt+E: the type-ahead list of the current column's check file; a value
// keyed or picked there is taken as entered. A column without a code list
// beeps.
void keyInColumnList(Engine& e);

// The editor of a column keyed in through its list (list entry on a code
// list): the type-ahead list over its check file. Returns its exit key with
// text and changed set as the field editors do; has is false when the list
// cannot be shown (no file, no records), and the caller uses the column's
// own editor instead.
ui::KeyCode listEntryEditor(Engine& e, int col, std::string& text, bool& changed, bool& has);

// True when column col of the current level is keyed in through its list.
bool keyedThroughList(const Engine& e, int col);

}  // namespace editor

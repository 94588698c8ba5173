#pragma once
// The type-ahead list over a column's check file (Alt+E, and code lists
// checked in list mode): the crew keys the value, or Tabs into the list of
// the file's rows and picks one.
#include "editor/engine.hpp"
#include "ui/keys.hpp"

namespace tablestore {
class Table;
}

namespace editor {

inline constexpr const char* kKeyInBuildingTitle = "Building List c";
inline constexpr const char* kKeyInPrompt = "Key in %s Data";
inline constexpr const char* kKeyInTabHint = "<Tab to Select from List>";
inline constexpr const char* kKeyInEnterHint = "<Enter to Use Selection>";

// Runs the type-ahead box for column (1..c) of the current level over the
// already open check file. Returns:
//  - 13 (Enter): the typed value, or field 1 of the chosen row, padded with
//    blanks to the field width, is in the level's edit buffer (and the
//    header's), and the line is marked modified; the caller checks and
//    stores it;
//  - 27 (Escape): nothing changed;
//  - Left or Right: the text editor handed the key back (at the first
//    position, or at the end); nothing changed;
//  - ui::key::kAbort: the session is being stopped; nothing changed;
//  - 0: the file has no live record (the level's exit key is cleared), or
//    column is no column of the level.
// Every box it shows is taken down again, the screen beneath put back.
[[nodiscard]] ui::KeyCode keyInFromList(Engine& e, int column, tablestore::Table& checkFile);

}  // namespace editor

#pragma once
// Drawing a level's screen on the Screen: the titles of the shown columns in
// the Prompts colours, the lines of a VirtualDisplay grid (or the one line of
// a LineDisplay form) with each value in the colours of its kind, the line
// number, the heading items in the Constant colours and the prompt row.
#include <cstdint>
#include <string>

#include "apps/level_records.hpp"
#include "editor/engine.hpp"

namespace editor {

// VirtualDisplay is type 0 (and 10, and any type that is not LineDisplay);
// LineDisplay is 1 and 2.
inline bool isVirtualDisplay(int displayType) { return displayType != 1 && displayType != 2; }

// The screen number (1-8) of column k (its ColumnDef's, at least 1).
int screenOfColumn(const LevelState& s, int k);
// The definition of screen n (1-8, clamped).
apps::ScreenDef screenDef(const LevelState& s, int n);
// The display type of column k's screen.
int displayTypeOf(const LevelState& s, int k);
// Column k is drawn on the page of column current: same screen, inside its
// page's first and last column, and not hidden.
bool onPage(const LevelState& s, int k, int current);
// How many cells column k's value takes: its display width, or the field's
// width, cut to the screen's columns − 2, at least 1.
int shownWidth(const LevelState& s, int k, int screenColumns);
// The colours column k's value is drawn in (View Only for display-only
// columns; Read Only for skipped ones and those outside the enterable range;
// else the screen's data colours).
ColourPair valueColours(const Engine& e, const LevelState& s, int k);

// Where column k of the current line is drawn.
struct CellPlace {
  int row = 0, col = 0, width = 0;
};
CellPlace cellPlace(const Engine& e, const LevelState& s, int k);

// Draws the whole screen of the current column: clears it, the titles, every
// line of the window, the headings, the line number and the prompt row.
// Remembers which screen and page are drawn.
void drawScreen(Engine& e);
// True when the current column's screen or page is not the one drawn.
bool screenChanged(const Engine& e);
// The lines of the window again (LineDisplay: the current line's values).
void drawLines(Engine& e);
// The current line (its grid row, or the form's values) and the line number.
void drawCurrentLine(Engine& e);
// The current line's column k.
void drawCell(Engine& e, int k);
// The prompt row with column k's prompt, centred (nothing without a prompt row).
void drawPromptRow(Engine& e, int k);

// text cut to width: when it is longer, width − 1 characters and ">".
std::string cutToWidth(const std::string& text, int width);

}  // namespace editor

#pragma once
// The engine's character-cell screen as terminal cells: each 8-bit
// (Windows-1252) character as its glyph in the cell's exact colours, frame
// lines as box-drawing characters where the cell holds a blank, and the
// cursor in the terminal's own blinking shapes.
#include "cell_grid.hpp"
#include "renderer.hpp"
#include "ui/screen.hpp"

namespace tui {

// What one screen cell shows. A cell with frame lines whose character shows
// as a blank shows the frame's glyph in the frame colour on its background.
Cell screenCell(const ui::ScreenCell& cell);

// Draws the cells of screen over grid rows top + 1 .. top + rows (cut to the
// grid): screen row r at grid row top + r. Cells of those rows that the
// screen does not reach are blank white.
void drawScreen(CellGrid& grid, const ui::Screen& screen, int rows, int top = 0);

// The screen's cursor when it is shown and falls inside rows × cols:
// a blinking underline in overwrite mode, a blinking bar in insert mode.
// Otherwise a hidden cursor.
CursorState screenCursor(const ui::Screen& screen, int rows, int cols);

}  // namespace tui

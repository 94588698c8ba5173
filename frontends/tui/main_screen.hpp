#pragma once
// The main window in the terminal: the title row and the status lines on the
// main window's green.
#include "cell_grid.hpp"
#include "shell/startup.hpp"

namespace tui {

inline constexpr const char* kMainTitle = "Tallyfin PC";

// Paints the whole grid: row 1 the title centred, the status lines (UTF-8)
// in the four rows above the last one (from row 3 down on a short screen).
void drawMainScreen(CellGrid& grid, const shell::StatusLines& status);

}  // namespace tui

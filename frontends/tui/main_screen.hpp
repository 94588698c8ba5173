#pragma once
// The main window in the terminal: the title row, the menu bar, the six
// command-bar buttons and the status lines on the main window's green.
#include "cell_grid.hpp"
#include "command_bar.hpp"
#include "shell/startup.hpp"

namespace tui {

inline constexpr const char* kMainTitle = "Tallyfin PC";

struct MainScreenLayout {
  int titleRow = 1, menuRow = 2;
  int statusRow = 3;  // the first of the four status lines
  CommandBarLayout bar;
};

// The status lines take the four rows above the last one (from row 4 down on
// a short screen), and the GPS block's lines above those while GPS is on;
// the buttons the rows between the menu bar and them.
MainScreenLayout layoutMainScreen(int rows, int cols, int gpsLines = 0);

// Paints the whole grid. Status texts are UTF-8; pressed marks a button (0-5).
void drawMainScreen(CellGrid& grid, const shell::StatusLines& status, int pressed = -1);

}  // namespace tui

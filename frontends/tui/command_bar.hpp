#pragma once
// The six command-bar buttons in cells: framed buttons with a small picture
// of a few cells over the label. One row of six where the screen is wide
// enough for the labels, else two rows of three; the pictures are left out
// when the height is short.
#include <array>

#include "cell_grid.hpp"
#include "frame.hpp"

namespace tui {

struct CommandBarLayout {
  int columns = 6, rows = 1;
  bool pictures = true;
  std::array<CellRect, 6> buttons{};  // in command order (Data ... Exit Program)
};

inline constexpr const char* kCommandBarLabels[6] = {"Data", "Apps", "Setups", "GPS", "Helps", "Exit Program"};
// Button height with and without pictures, and the width that fits every label.
inline constexpr int kButtonRows = 6, kButtonRowsFlat = 3, kButtonCols = 14;

// Lays the buttons out in the rows top..bottom of a cols-wide screen.
CommandBarLayout layoutCommandBar(int top, int bottom, int cols);

// Draws the buttons; pressed (0-5, or -1) is drawn pushed in.
void drawCommandBar(CellGrid& grid, const CommandBarLayout& layout, int pressed = -1);

// The button at row, col (0-5), or -1.
int commandButtonAt(const CommandBarLayout& layout, int row, int col);

}  // namespace tui

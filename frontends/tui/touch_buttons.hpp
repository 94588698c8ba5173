#pragma once
// The edit window's touch buttons in the terminal: one row at the bottom,
// the buttons right-aligned in the order the engine gives them (right to
// left), each a few cells wide with its label.
#include <vector>

#include "cell_grid.hpp"
#include "ui/edit_window.hpp"

namespace tui {

inline constexpr int kTouchButtonWidth = 5;  // room for "F10" with a blank each side
inline constexpr int kTouchButtonGap = 1;

struct TouchButtonSpot {
  int left = 0, right = 0;  // columns, inclusive
  int index = 0;            // into the buttons given
  friend bool operator==(const TouchButtonSpot&, const TouchButtonSpot&) = default;
};

// Where each button stands on a row cols wide: the first at the right edge,
// the next to its left. Buttons that would not fit whole are left out.
std::vector<TouchButtonSpot> layoutTouchButtons(const std::vector<ui::TouchButton>& buttons, int cols);

// The index of the button at column col, or -1.
int touchButtonAt(const std::vector<TouchButtonSpot>& spots, int col);

// Draws the row: a dark strip with the buttons of spots (as laid out for
// buttons) on it, labels centred and cut to the button's width.
void drawTouchButtons(CellGrid& grid, int row, const std::vector<ui::TouchButton>& buttons,
                      const std::vector<TouchButtonSpot>& spots);

}  // namespace tui

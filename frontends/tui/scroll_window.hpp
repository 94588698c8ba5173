#pragma once
// The scroll window in cells: a framed pop-up over the main screen, a tenth
// of the screen left free on every side, titled, with scroll bars drawn in
// its right and bottom edges. The contents and their position are
// ui::ScrollView's.
#include "cell_grid.hpp"
#include "frame.hpp"
#include "ui/scroll_view.hpp"

namespace tui {

// The window's frame on a rows × cols screen; the text fills the inside.
CellRect scrollWindowBox(int rows, int cols);
// Lines and columns of text the window shows inside box.
inline int scrollWindowRows(const CellRect& box) { return std::max(box.rows - 2, 1); }
inline int scrollWindowCols(const CellRect& box) { return std::max(box.cols - 2, 1); }

// Draws the window (the view's visible size must match the box).
void drawScrollWindow(CellGrid& grid, const CellRect& box, const ui::ScrollView& view);

// A click at row, col: the arrows scroll a line or a column, the bars a page.
// True when the click fell on the window (used), false when outside it.
bool scrollWindowClick(ui::ScrollView& view, const CellRect& box, int row, int col);

}  // namespace tui

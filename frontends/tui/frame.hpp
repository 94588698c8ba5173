#pragma once
// Boxes drawn in cells: a single-line frame, an optional title in its top
// edge, and the shared colours of dialogs.
#include <string>

#include "cell_grid.hpp"
#include "palette.hpp"

namespace tui {

// A rectangle of cells (rows and columns from 1).
struct CellRect {
  int row = 0, col = 0, rows = 0, cols = 0;
  int bottom() const { return row + rows - 1; }
  int right() const { return col + cols - 1; }
  bool contains(int r, int c) const { return r >= row && r <= bottom() && c >= col && c <= right(); }
  friend bool operator==(const CellRect&, const CellRect&) = default;
};

// Dialog colours.
inline Rgb dialogInk() { return paletteRgb(kBlack); }
inline Rgb dialogPaper() { return paletteRgb(kLtGray); }
inline Rgb dimInk() { return paletteRgb(kDkGray); }
inline Rgb fieldPaper() { return paletteRgb(kWhite); }
inline Rgb focusInk() { return paletteRgb(kWhite); }
inline Rgb focusPaper() { return paletteRgb(kDkBlue); }

// Fills r with paper and draws its outer cells as a frame; clipped to the grid.
void drawBox(CellGrid& grid, const CellRect& r, Rgb ink, Rgb paper);
// Only the frame lines, over what is there (for group frames).
void drawFrameLines(CellGrid& grid, const CellRect& r, Rgb ink, Rgb paper);
// The title " text " centred in the top edge of r, white on dark blue;
// cut to fit inside the corners.
void drawTitle(CellGrid& grid, const CellRect& r, const std::u32string& title);

}  // namespace tui

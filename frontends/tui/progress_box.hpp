#pragma once
// The progress window in cells: a centred box titled with the window's title,
// its two text lines (the worker's latest line replaces the second) and a bar
// with the percentage.
#include "cell_grid.hpp"
#include "frame.hpp"
#include "ui/progress.hpp"

namespace tui {

struct ProgressBoxLayout {
  CellRect box;
  int line1Row = 0, line2Row = 0, barRow = 0;
  int textCol = 0, textCols = 0;
};

ProgressBoxLayout layoutProgressBox(const ui::ProgressSpec& desc, int rows, int cols);

void drawProgressBox(CellGrid& grid, const ProgressBoxLayout& layout, const ui::ProgressSpec& desc,
                     const ui::Progress::Snapshot& now);

}  // namespace tui

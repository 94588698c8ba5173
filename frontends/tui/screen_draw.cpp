#include "screen_draw.hpp"

#include <algorithm>

#include "glyphs.hpp"

namespace tui {

Cell screenCell(const ui::ScreenCell& cell) {
  Cell out{glyphOf(cell.ch), paletteRgb(cell.fg), paletteRgb(cell.bg), kAttrNone};
  if (cell.frame != 0 && out.ch == U' ') {
    out.ch = ui::frameGlyph(cell.frame);
    out.fg = ui::kFrameRgb;
  }
  return out;
}

void drawScreen(CellGrid& grid, const ui::Screen& screen, int rows) {
  rows = std::min(rows, grid.rows());
  const int cols = std::min(screen.cols(), grid.cols());
  const Cell blank = screenCell(ui::ScreenCell{});
  for (int r = 1; r <= rows; ++r) {
    if (r > screen.rows()) {
      grid.fillRect(r, 1, r, grid.cols(), blank);
      continue;
    }
    for (int c = 1; c <= cols; ++c) grid.at(r, c) = screenCell(screen.at(r, c));
    grid.fillRect(r, cols + 1, r, grid.cols(), blank);
  }
}

CursorState screenCursor(const ui::Screen& screen, int rows, int cols) {
  const ui::CursorShape& cursor = screen.cursor();
  CursorState out;
  if (!cursor.visible(screen.rows(), screen.cols()) || cursor.row > rows || cursor.col > cols) return out;
  out.visible = true;
  out.row = cursor.row, out.col = cursor.col;
  out.style = cursor.insert ? esc::CursorStyle::kBlinkingBar : esc::CursorStyle::kBlinkingUnderline;
  return out;
}

}  // namespace tui

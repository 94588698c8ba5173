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

void drawScreen(CellGrid& grid, const ui::Screen& screen, int rows, int top) {
  rows = std::min(rows, grid.rows() - top);
  const int cols = std::min(screen.cols(), grid.cols());
  const Cell blank = screenCell(ui::ScreenCell{});
  for (int r = 1; r <= rows; ++r) {
    const int g = top + r;
    if (r > screen.rows()) {
      grid.fillRect(g, 1, g, grid.cols(), blank);
      continue;
    }
    for (int c = 1; c <= cols; ++c) grid.at(g, c) = screenCell(screen.at(r, c));
    grid.fillRect(g, cols + 1, g, grid.cols(), blank);
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

#include "frame.hpp"

#include <algorithm>

namespace tui {

void drawFrameLines(CellGrid& grid, const CellRect& r, Rgb ink, Rgb paper) {
  if (r.rows < 1 || r.cols < 1) return;
  auto put = [&](int row, int col, char32_t ch) {
    if (grid.contains(row, col)) grid.at(row, col) = Cell{ch, ink, paper, kAttrNone};
  };
  for (int c = r.col + 1; c < r.right(); ++c) put(r.row, c, U'\u2500'), put(r.bottom(), c, U'\u2500');
  for (int row = r.row + 1; row < r.bottom(); ++row) put(row, r.col, U'\u2502'), put(row, r.right(), U'\u2502');
  put(r.row, r.col, U'\u250C');
  put(r.row, r.right(), U'\u2510');
  put(r.bottom(), r.col, U'\u2514');
  put(r.bottom(), r.right(), U'\u2518');
}

void drawBox(CellGrid& grid, const CellRect& r, Rgb ink, Rgb paper) {
  grid.fillRect(r.row, r.col, r.bottom(), r.right(), Cell{U' ', ink, paper, kAttrNone});
  drawFrameLines(grid, r, ink, paper);
}

void drawTitle(CellGrid& grid, const CellRect& r, const std::u32string& title) {
  if (title.empty() || r.cols < 5) return;
  std::u32string t = U" " + title + U" ";
  if (static_cast<int>(t.size()) > r.cols - 2) t.resize(static_cast<std::size_t>(r.cols - 2));
  int col = r.col + std::max((r.cols - static_cast<int>(t.size())) / 2, 1);
  grid.putText(r.row, col, t, focusInk(), focusPaper(), kAttrBold);
}

}  // namespace tui

#include "scroll_window.hpp"

#include <algorithm>

#include "glyphs.hpp"

namespace tui {

namespace k = ui::key;

namespace {

// Where the thumb sits on a bar of length cells for position pos of 0..max.
int thumbAt(int pos, int max, int length) {
  if (length <= 0) return 0;
  if (max <= 0) return 0;
  return static_cast<int>(static_cast<long long>(pos) * (length - 1) / max);
}

}  // namespace

CellRect scrollWindowBox(int rows, int cols) {
  CellRect r;
  r.row = rows / 10 + 1;
  r.col = cols / 10 + 1;
  r.rows = std::max(rows - 2 * (rows / 10), 3);
  r.cols = std::max(cols - 2 * (cols / 10), 3);
  return r;
}

void drawScrollWindow(CellGrid& grid, const CellRect& box, const ui::ScrollView& view) {
  const Rgb ink = dialogInk(), paper = fieldPaper();
  drawBox(grid, box, ink, paper);
  drawTitle(grid, box, glyphsOfUtf8(view.title()));
  const int rows = scrollWindowRows(box), cols = scrollWindowCols(box);
  for (int r = 0; r < rows; ++r) {
    std::u32string text = glyphsOf(view.row(r));
    if (static_cast<int>(text.size()) > cols) text.resize(static_cast<std::size_t>(cols));
    grid.putText(box.row + 1 + r, box.col + 1, text, ink, paper);
  }
  const Rgb bar = dimInk();
  if (view.maxFirstLine() > 0 && rows >= 2) {
    const int col = box.right();
    grid.fillRect(box.row + 1, col, box.bottom() - 1, col, Cell{U'\u2591', bar, paper, kAttrNone});
    grid.putText(box.row + 1, col, U"\u25B2", ink, paper);
    grid.putText(box.bottom() - 1, col, U"\u25BC", ink, paper);
    int track = rows - 2;
    if (track > 0)
      grid.putText(box.row + 2 + thumbAt(view.firstLine(), view.maxFirstLine(), track), col, U"\u2588", bar, paper);
  }
  if (view.maxFirstColumn() > 0 && cols >= 2) {
    const int row = box.bottom();
    grid.fillRect(row, box.col + 1, row, box.right() - 1, Cell{U'\u2591', bar, paper, kAttrNone});
    grid.putText(row, box.col + 1, U"\u25C4", ink, paper);
    grid.putText(row, box.right() - 1, U"\u25BA", ink, paper);
    int track = cols - 2;
    if (track > 0)
      grid.putText(row, box.col + 2 + thumbAt(view.firstColumn(), view.maxFirstColumn(), track), U"\u2588", bar,
                   paper);
  }
}

bool scrollWindowClick(ui::ScrollView& view, const CellRect& box, int row, int col) {
  if (!box.contains(row, col)) return false;
  const int rows = scrollWindowRows(box), cols = scrollWindowCols(box);
  if (col == box.right() && row > box.row && row < box.bottom() && view.maxFirstLine() > 0) {
    if (row == box.row + 1) view.key(k::kUp);
    else if (row == box.bottom() - 1) view.key(k::kDown);
    else {
      int thumb = box.row + 2 + thumbAt(view.firstLine(), view.maxFirstLine(), rows - 2);
      if (row < thumb) view.key(k::kPageUp);
      else if (row > thumb) view.key(k::kPageDown);
    }
  } else if (row == box.bottom() && col > box.col && col < box.right() && view.maxFirstColumn() > 0) {
    if (col == box.col + 1) view.key(k::kLeft);
    else if (col == box.right() - 1) view.key(k::kRight);
    else {
      int thumb = box.col + 2 + thumbAt(view.firstColumn(), view.maxFirstColumn(), cols - 2);
      if (col < thumb) view.key(k::kHome);
      else if (col > thumb) view.key(k::kEnd);
    }
  }
  return true;
}

}  // namespace tui

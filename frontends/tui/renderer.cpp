#include "renderer.hpp"

#include "escapes.hpp"
#include "glyphs.hpp"
#include "utf8.hpp"

namespace tui {

std::string drawCells(const CellGrid* before, const CellGrid& after) {
  if (before && (before->rows() != after.rows() || before->cols() != after.cols())) before = nullptr;
  std::string out;
  bool havePen = false;
  Cell pen;
  int atRow = 0, atCol = 0;  // where the terminal cursor is after the last write
  for (int r = 1; r <= after.rows(); ++r) {
    for (int c = 1; c <= after.cols(); ++c) {
      const Cell& cell = after.at(r, c);
      if (before && before->at(r, c) == cell) continue;
      if (r != atRow || c != atCol) out += esc::cursorTo(r, c);
      if (!havePen || pen.fg != cell.fg || pen.bg != cell.bg || pen.attr != cell.attr) {
        out += esc::style(cell);
        pen = cell;
        havePen = true;
      }
      appendUtf8(out, displayable(cell.ch));
      atRow = r, atCol = c + 1;
    }
  }
  return out;
}

std::string Renderer::frame(const CellGrid& next, const CursorState& cursor) {
  CursorState target = cursor;
  if (!next.contains(target.row, target.col)) target.visible = false;
  bool full = full_ || shown_.rows() != next.rows() || shown_.cols() != next.cols();
  std::string cells = drawCells(full ? nullptr : &shown_, next);

  std::string out;
  // On a full redraw the terminal's cursor state is not known.
  bool shownNow = full ? true : cursor_.visible;
  if (shownNow && (!cells.empty() || !target.visible)) {
    out += esc::kHideCursor;
    shownNow = false;
  }
  out += cells;
  if (target.visible) {
    if (!cells.empty() || full || target.row != cursor_.row || target.col != cursor_.col || !shownNow)
      out += esc::cursorTo(target.row, target.col);
    if (!shownNow) out += esc::kShowCursor;
  }
  shown_ = next;
  cursor_ = target;
  full_ = false;
  return out;
}

}  // namespace tui

#include "renderer.hpp"

#include "glyphs.hpp"
#include "utf8.hpp"

namespace tui {

namespace {
bool sameStyle(const Cell& a, const Cell& b) { return a.fg == b.fg && a.bg == b.bg && a.attr == b.attr; }
}  // namespace

std::string drawCells(const CellGrid* before, const CellGrid& after, std::optional<Cell>* penInOut) {
  if (before && (before->rows() != after.rows() || before->cols() != after.cols())) before = nullptr;
  std::optional<Cell> pen = penInOut ? *penInOut : std::nullopt;
  std::string out;
  int atRow = 0, atCol = 0;  // where the terminal cursor is after the last write
  for (int r = 1; r <= after.rows(); ++r) {
    for (int c = 1; c <= after.cols(); ++c) {
      const Cell& cell = after.at(r, c);
      if (before && before->at(r, c) == cell) continue;
      if (r != atRow || c != atCol) out += esc::cursorTo(r, c);
      if (!pen || !sameStyle(*pen, cell)) {
        out += esc::style(cell);
        pen = cell;
      }
      appendUtf8(out, displayable(cell.ch));
      atRow = r, atCol = c + 1;
    }
  }
  if (penInOut) *penInOut = pen;
  return out;
}

std::string Renderer::frame(const CellGrid& next, const CursorState& cursor) {
  CursorState target = cursor;
  if (!next.contains(target.row, target.col)) target.visible = false;
  bool full = full_ || shown_.rows() != next.rows() || shown_.cols() != next.cols();
  if (full) pen_.reset();  // someone else may have written meanwhile
  std::string cells = drawCells(full ? nullptr : &shown_, next, &pen_);

  std::string out;
  // On a full redraw the terminal's cursor state is not known.
  bool shownNow = full ? true : cursor_.visible;
  if (shownNow && (!target.visible || full || cells.size() > kSmallWrite)) {
    out += esc::kHideCursor;
    shownNow = false;
  }
  out += cells;
  if (target.style != style_) {
    out += esc::cursorStyle(target.style);
    style_ = target.style;
  }
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

#include "form_layout.hpp"

#include <algorithm>

namespace tui {

namespace {

using K = ui::ControlKind;

bool spansRows(const ui::Control& c) {
  return c.kind == K::ListBox || c.kind == K::Group || (c.kind == K::Static && c.rect.height >= 16);
}

}  // namespace

FormLayout layoutForm(const ui::Form& form, int rows, int cols) {
  FormLayout l;
  l.screenRows = rows, l.screenCols = cols;
  const int clientRows = std::max((form.size.height + 7) / 8, 1);
  const int clientCols = std::max((form.size.width + 3) / 4, 1);
  l.box.rows = std::max(std::min(clientRows + 2, rows), 1);
  l.box.cols = std::max(std::min(clientCols + 2, cols), 1);
  l.box.row = std::max((rows - l.box.rows) / 2 + 1, 1);
  l.box.col = std::max((cols - l.box.cols) / 2 + 1, 1);
  const int innerTop = l.box.row + 1, innerLeft = l.box.col + 1;
  const int innerBottom = std::max(l.box.bottom() - 1, innerTop);
  const int innerRight = std::max(l.box.right() - 1, innerLeft);

  for (const ui::Control& c : form.controls) {
    const ui::Rect& d = c.rect;
    CellRect r;
    r.col = innerLeft + std::max(d.x, 0) / 4;
    r.cols = std::max((std::max(d.x, 0) + std::max(d.width, 0)) / 4 - std::max(d.x, 0) / 4, 1);
    if (spansRows(c)) {
      r.row = innerTop + std::max(d.y, 0) / 8;
      r.rows = std::max((std::max(d.y, 0) + std::max(d.height, 0)) / 8 - std::max(d.y, 0) / 8, 1);
      if (c.kind == K::Group) r.rows = std::max(r.rows, 2);
    } else {
      // A drop-down's rectangle includes its list; the closed box is the top 12 units.
      int h = c.kind == K::DropDown ? std::min(d.height, 12) : d.height;
      r.row = innerTop + (std::max(d.y, 0) + std::max(h, 0) / 2) / 8;
      r.rows = 1;
    }
    // Cut at the frame; a control wholly outside keeps one cell at the edge.
    r.row = std::min(r.row, innerBottom);
    r.col = std::min(r.col, innerRight);
    r.rows = std::min(r.rows, innerBottom - r.row + 1);
    r.cols = std::min(r.cols, innerRight - r.col + 1);
    l.controls.push_back(r);
  }
  return l;
}

int controlAt(const ui::FormState& state, const FormLayout& layout, int row, int col) {
  const ui::Form& form = state.form();
  const int n = std::min(static_cast<int>(form.controls.size()), static_cast<int>(layout.controls.size()));
  for (int i = n - 1; i >= 0; --i) {
    const ui::Control& c = form.controls[static_cast<std::size_t>(i)];
    if (c.kind == K::Static || c.kind == K::Group || c.kind == K::Progress || !state.isVisible(c.id)) continue;
    if (layout.controls[static_cast<std::size_t>(i)].contains(row, col)) return i;
  }
  return -1;
}

}  // namespace tui

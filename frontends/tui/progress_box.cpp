#include "progress_box.hpp"

#include <algorithm>

#include "glyphs.hpp"

namespace tui {

namespace {
constexpr int kMinText = 40;
}

ProgressBoxLayout layoutProgressBox(const ui::ProgressSpec& desc, int rows, int cols) {
  ProgressBoxLayout l;
  int text = kMinText;
  for (const std::string* s : {&desc.title, &desc.line1, &desc.line2})
    text = std::max(text, static_cast<int>(glyphsOfUtf8(*s).size()));
  // Frame, a blank column each side.
  l.box.cols = std::max(std::min(text + 4, cols), 1);
  l.box.rows = std::max(std::min(7, rows), 1);
  l.box.row = std::max((rows - l.box.rows) / 2 + 1, 1);
  l.box.col = std::max((cols - l.box.cols) / 2 + 1, 1);
  l.textCol = l.box.col + 2;
  l.textCols = std::max(l.box.cols - 4, 1);
  l.line1Row = l.box.row + 1;
  l.line2Row = l.box.row + 2;
  l.barRow = l.box.row + 4;
  return l;
}

void drawProgressBox(CellGrid& grid, const ProgressBoxLayout& l, const ui::ProgressSpec& desc,
                     const ui::Progress::Snapshot& now) {
  drawBox(grid, l.box, dialogInk(), dialogPaper());
  drawTitle(grid, l.box, glyphsOfUtf8(desc.title));
  auto line = [&](int row, const std::string& s) {
    std::u32string t = glyphsOfUtf8(s);
    if (static_cast<int>(t.size()) > l.textCols) t.resize(static_cast<std::size_t>(l.textCols));
    grid.putText(row, l.textCol, t, dialogInk(), dialogPaper());
  };
  if (l.line1Row < l.box.bottom()) line(l.line1Row, desc.line1);
  if (l.line2Row < l.box.bottom()) line(l.line2Row, now.line.empty() ? desc.line2 : now.line);
  if (l.barRow >= l.box.bottom()) return;
  const int percent = std::clamp(now.percent, 0, 100);
  const int filled = l.textCols * percent / 100;
  std::u32string label = glyphsOfUtf8(std::to_string(percent) + "%");
  const int at = (l.textCols - static_cast<int>(label.size())) / 2;
  for (int i = 0; i < l.textCols; ++i) {
    const bool done = i < filled;
    const int k = i - at;
    char32_t ch = (k >= 0 && k < static_cast<int>(label.size())) ? label[static_cast<std::size_t>(k)] : U' ';
    if (grid.contains(l.barRow, l.textCol + i))
      grid.at(l.barRow, l.textCol + i) =
          Cell{ch, done ? focusInk() : dialogInk(), done ? focusPaper() : fieldPaper(), kAttrBold};
  }
}

}  // namespace tui

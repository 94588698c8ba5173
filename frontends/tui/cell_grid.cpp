#include "cell_grid.hpp"

#include <algorithm>

namespace tui {

CellGrid::CellGrid(int rows, int cols, const Cell& fill)
    : rows_(std::max(rows, 0)), cols_(std::max(cols, 0)),
      cells_(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_), fill) {
  if (rows_ == 0 || cols_ == 0) rows_ = cols_ = 0;
}

void CellGrid::fill(const Cell& c) { std::fill(cells_.begin(), cells_.end(), c); }

void CellGrid::fillRect(int top, int left, int bottom, int right, const Cell& c) {
  top = std::max(top, 1), left = std::max(left, 1);
  bottom = std::min(bottom, rows_), right = std::min(right, cols_);
  for (int r = top; r <= bottom; ++r)
    for (int col = left; col <= right; ++col) at(r, col) = c;
}

int CellGrid::putText(int row, int col, std::u32string_view text, Rgb fg, Rgb bg, std::uint8_t attr) {
  if (row < 1 || row > rows_) return 0;
  int written = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    long long c = static_cast<long long>(col) + static_cast<long long>(i);
    if (c > cols_) break;
    if (c < 1) continue;
    at(row, static_cast<int>(c)) = Cell{text[i], fg, bg, attr};
    ++written;
  }
  return written;
}

}  // namespace tui

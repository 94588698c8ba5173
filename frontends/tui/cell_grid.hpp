#pragma once
// The screen as the front end keeps it: rows × columns of cells, each a code
// point with its text and background colour. Rows and columns count from 1;
// every write is clipped to the grid.
#include <cstdint>
#include <string_view>
#include <vector>

#include "palette.hpp"

namespace tui {

enum CellAttr : std::uint8_t { kAttrNone = 0, kAttrBold = 1, kAttrUnderline = 2 };

struct Cell {
  char32_t ch = U' ';
  Rgb fg{0, 0, 0};
  Rgb bg{255, 255, 255};
  std::uint8_t attr = kAttrNone;
  friend bool operator==(const Cell&, const Cell&) = default;
};

class CellGrid {
 public:
  CellGrid() = default;
  // A grid of rows × cols cells (negative sizes count as 0), all equal to fill.
  CellGrid(int rows, int cols, const Cell& fill = {});

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  bool contains(int row, int col) const { return row >= 1 && row <= rows_ && col >= 1 && col <= cols_; }
  // The cell at row, col; the caller makes sure contains(row, col).
  Cell& at(int row, int col) { return cells_[index(row, col)]; }
  const Cell& at(int row, int col) const { return cells_[index(row, col)]; }

  void fill(const Cell& c);
  // Sets the cells of the rectangle (inclusive) to c, clipped to the grid.
  void fillRect(int top, int left, int bottom, int right, const Cell& c);
  // Writes text from row, col to the right; cells outside the grid are skipped.
  // Returns the number of cells written.
  int putText(int row, int col, std::u32string_view text, Rgb fg, Rgb bg,
              std::uint8_t attr = kAttrNone);

  friend bool operator==(const CellGrid&, const CellGrid&) = default;

 private:
  std::size_t index(int row, int col) const {
    return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(cols_) +
           static_cast<std::size_t>(col - 1);
  }
  int rows_ = 0, cols_ = 0;
  std::vector<Cell> cells_;
};

}  // namespace tui

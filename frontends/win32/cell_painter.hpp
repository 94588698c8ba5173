#pragma once
// GDI drawing of the edit window's Screen: each cell (r, c) fills the w × h
// rectangle at x (c-1)·w, y (r-1)·h with its background colour and shows its
// character in its text colour (one glyph per cell whatever the font, through
// a fixed advance of w), then the grid lines and the frame lines through the
// cells. The cursor rectangle is computed here; the window inverts it.
#include <windows.h>

#include <array>

#include "ui/edit_window.hpp"
#include "ui/screen.hpp"

namespace frontend {

class CellPainter {
 public:
  // Characters through the system's code page, cells of the default geometry.
  CellPainter();

  void setGeometry(const ui::CellGeometry& geometry);
  const ui::CellGeometry& geometry() const { return geometry_; }
  // Cell sizes below one pixel count as one.
  int cellWidth() const { return geometry_.cellWidth; }
  int cellHeight() const { return geometry_.cellHeight; }

  // Draws every cell of screen meeting area, with its grid and frame lines,
  // and fills the part of area outside the cells (right of the last column,
  // below the last row) white. dc keeps the font selected into it.
  void paint(HDC dc, const ui::Screen& screen, const RECT& area) const;

  // The pixels of cell (row, col).
  RECT cellRect(int row, int col) const;
  // The band of pixels of row, width pixels wide.
  RECT rowRect(int row, int width) const;
  // The rectangle the cursor inverts in its cell: an underline the full cell
  // width, (h - 2) / 6 high (h - 10 with the tall cursor), or for insert a
  // block half the cell wide and 0.6 h high; both at the bottom of the cell
  // and at least one pixel each way.
  RECT cursorRect(const ui::CursorShape& cursor) const;

 private:
  void paintRow(HDC dc, const ui::Screen& screen, int row) const;
  void paintGrid(HDC dc, const ui::Screen& screen, int row) const;
  void paintFrames(HDC dc, const ui::Screen& screen, int row) const;

  ui::CellGeometry geometry_;
  std::array<wchar_t, 256> glyphs_{};  // each byte as the code page shows it
  std::array<INT, 256> advance_{};     // every entry the cell width
};

}  // namespace frontend

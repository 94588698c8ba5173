#pragma once
// A raster of dots shown in braille cells: each cell of the terminal holds
// 2 × 4 dots as one of the Unicode braille patterns (U+2800 + the dots' bits),
// so a cols × rows area draws at (cols × 2) × (rows × 4) dots. Each cell has
// one colour, the ink of the last dot set in it. Dots count from 0 at the
// top left; everything drawn outside the raster is clipped.
#include <cstdint>
#include <vector>

#include "palette.hpp"
#include "ui/canvas.hpp"

namespace tui {

// The bit of the dot dx (0-1) across, dy (0-3) down in a braille cell, as
// the braille dots 1-8 number them; 0 outside the cell.
std::uint8_t brailleBit(int dx, int dy);
// The braille pattern with these dots.
inline char32_t brailleGlyph(std::uint8_t bits) { return U'\u2800' + bits; }

class BrailleRaster {
 public:
  static constexpr int kDotsAcross = 2, kDotsDown = 4;
  // Circles with a larger radius (far wider than any terminal) are not drawn:
  // tracing one would take time for no visible dot.
  static constexpr int kMaxRadius = 1 << 15;

  // A raster of cols × rows cells, no dot set (negative sizes count as 0).
  BrailleRaster(int cols, int rows);

  int cols() const { return cols_; }
  int rows() const { return rows_; }
  int width() const { return cols_ * kDotsAcross; }
  int height() const { return rows_ * kDotsDown; }

  // Sets the dot at x, y in ink; a dot outside the raster is skipped.
  void setDot(long long x, long long y, Rgb ink);
  bool dot(long long x, long long y) const;
  // The straight line from one dot to another, both ends included (the same
  // dots whichever end comes first). Only the part inside the raster costs time.
  void line(ui::CanvasXY from, ui::CanvasXY to, Rgb ink);
  // Lines through the points in turn; a single point is a dot.
  void polyline(const std::vector<ui::CanvasXY>& points, Rgb ink);
  // The circle's outline (midpoint rule); radius 0 is a dot, below 0 nothing.
  void circle(ui::CanvasXY centre, int radius, Rgb ink);

  // Cell col, row (from 0): its dots' bits (0 for a cell outside), its
  // braille pattern, and its ink (black where no dot was set).
  std::uint8_t bits(int col, int row) const;
  char32_t glyph(int col, int row) const { return brailleGlyph(bits(col, row)); }
  Rgb ink(int col, int row) const;

 private:
  std::size_t index(int col, int row) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col);
  }
  bool hasCell(int col, int row) const { return col >= 0 && col < cols_ && row >= 0 && row < rows_; }

  int cols_ = 0, rows_ = 0;
  std::vector<std::uint8_t> bits_;
  std::vector<Rgb> inks_;
};

}  // namespace tui

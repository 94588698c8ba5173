#include "braille.hpp"

#include <algorithm>
#include <utility>

namespace tui {

std::uint8_t brailleBit(int dx, int dy) {
  // Dots 1-3 and 7 run down the left column, 4-6 and 8 down the right.
  static constexpr std::uint8_t kBits[2][4] = {{0x01, 0x02, 0x04, 0x40}, {0x08, 0x10, 0x20, 0x80}};
  if (dx < 0 || dx >= BrailleRaster::kDotsAcross || dy < 0 || dy >= BrailleRaster::kDotsDown) return 0;
  return kBits[dx][dy];
}

BrailleRaster::BrailleRaster(int cols, int rows) : cols_(std::max(cols, 0)), rows_(std::max(rows, 0)) {
  if (cols_ == 0 || rows_ == 0) cols_ = rows_ = 0;
  bits_.assign(static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows_), 0);
  inks_.assign(bits_.size(), Rgb{0, 0, 0});
}

void BrailleRaster::setDot(long long x, long long y, Rgb ink) {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return;
  const int col = static_cast<int>(x / kDotsAcross), row = static_cast<int>(y / kDotsDown);
  const std::size_t i = index(col, row);
  bits_[i] |= brailleBit(static_cast<int>(x % kDotsAcross), static_cast<int>(y % kDotsDown));
  inks_[i] = ink;
}

bool BrailleRaster::dot(long long x, long long y) const {
  if (x < 0 || y < 0 || x >= width() || y >= height()) return false;
  const int col = static_cast<int>(x / kDotsAcross), row = static_cast<int>(y / kDotsDown);
  return (bits_[index(col, row)] &
          brailleBit(static_cast<int>(x % kDotsAcross), static_cast<int>(y % kDotsDown))) != 0;
}

std::uint8_t BrailleRaster::bits(int col, int row) const { return hasCell(col, row) ? bits_[index(col, row)] : 0; }

Rgb BrailleRaster::ink(int col, int row) const { return hasCell(col, row) ? inks_[index(col, row)] : Rgb{}; }

void BrailleRaster::line(ui::CanvasXY from, ui::CanvasXY to, Rgb ink) {
  // One dot per step along the longer axis, the other coordinate rounded
  // from the exact line. Steps are taken only where the raster is, so a line
  // from far outside costs no more than one across it; the products fit in
  // 64 bits unsigned for any two int points.
  long long ax = from.x, ay = from.y, bx = to.x, by = to.y;
  const bool steep = (by > ay ? by - ay : ay - by) > (bx > ax ? bx - ax : ax - bx);
  if (steep) std::swap(ax, ay), std::swap(bx, by);
  if (bx < ax) std::swap(ax, bx), std::swap(ay, by);
  const long long span = steep ? height() : width();
  auto plot = [&](long long major, long long minor) { steep ? setDot(minor, major, ink) : setDot(major, minor, ink); };
  const unsigned long long run = static_cast<unsigned long long>(bx - ax);
  if (run == 0) {
    plot(ax, ay);
    return;
  }
  const unsigned long long rise = static_cast<unsigned long long>(by >= ay ? by - ay : ay - by);
  const long long sign = by >= ay ? 1 : -1;
  const long long first = std::max(ax, 0LL), last = std::min(bx, span - 1);
  for (long long m = first; m <= last; ++m) {
    const unsigned long long along = static_cast<unsigned long long>(m - ax) * rise;
    unsigned long long off = along / run;
    if (2 * (along % run) >= run) ++off;
    plot(m, ay + sign * static_cast<long long>(off));
  }
}

void BrailleRaster::polyline(const std::vector<ui::CanvasXY>& points, Rgb ink) {
  if (points.size() == 1) line(points[0], points[0], ink);
  for (std::size_t i = 1; i < points.size(); ++i) line(points[i - 1], points[i], ink);
}

void BrailleRaster::circle(ui::CanvasXY centre, int radius, Rgb ink) {
  if (radius < 0 || radius > kMaxRadius) return;
  const long long cx = centre.x, cy = centre.y;
  if (cx + radius < 0 || cy + radius < 0 || cx - radius >= width() || cy - radius >= height()) return;
  auto plot8 = [&](long long x, long long y) {
    setDot(cx + x, cy + y, ink), setDot(cx - x, cy + y, ink), setDot(cx + x, cy - y, ink);
    setDot(cx - x, cy - y, ink), setDot(cx + y, cy + x, ink), setDot(cx - y, cy + x, ink);
    setDot(cx + y, cy - x, ink), setDot(cx - y, cy - x, ink);
  };
  long long x = radius, y = 0, err = 1 - radius;
  while (x >= y) {
    plot8(x, y);
    ++y;
    if (err < 0) {
      err += 2 * y + 1;
    } else {
      --x;
      err += 2 * (y - x) + 1;
    }
  }
}

}  // namespace tui

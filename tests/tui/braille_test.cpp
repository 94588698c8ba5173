// The braille dot raster: which bit each dot of a cell is, lines and their
// clipping, circles, and the colour a cell takes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <utility>

#include "tui/braille.hpp"

namespace {

using tui::BrailleRaster;
using tui::Rgb;
using Dots = std::set<std::pair<int, int>>;

const Rgb kInk{255, 0, 0};

Dots dotsOf(const BrailleRaster& r) {
  Dots out;
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x)
      if (r.dot(x, y)) out.insert({x, y});
  return out;
}

TEST(BrailleRaster, EachDotOfACellIsItsBrailleBit) {
  // Dots 1-8 as the braille patterns number them.
  const int expected[2][4] = {{0x01, 0x02, 0x04, 0x40}, {0x08, 0x10, 0x20, 0x80}};
  for (int dx = 0; dx < 2; ++dx)
    for (int dy = 0; dy < 4; ++dy) {
      BrailleRaster r(1, 1);
      r.setDot(dx, dy, kInk);
      EXPECT_EQ(r.bits(0, 0), expected[dx][dy]) << dx << "," << dy;
      EXPECT_EQ(r.glyph(0, 0), static_cast<char32_t>(0x2800 + expected[dx][dy]));
    }
  BrailleRaster all(1, 1);
  for (int dx = 0; dx < 2; ++dx)
    for (int dy = 0; dy < 4; ++dy) all.setDot(dx, dy, kInk);
  EXPECT_EQ(all.glyph(0, 0), U'\u28FF');
  EXPECT_EQ(tui::brailleBit(2, 0), 0);
  EXPECT_EQ(tui::brailleBit(0, 4), 0);
  EXPECT_EQ(tui::brailleBit(-1, 0), 0);
}

TEST(BrailleRaster, DotsFindTheirCellAndOutsideOnesAreSkipped) {
  BrailleRaster r(3, 2);
  EXPECT_EQ(r.width(), 6);
  EXPECT_EQ(r.height(), 8);
  r.setDot(3, 5, kInk);  // cell 1, 1: right column, second dot down
  EXPECT_EQ(r.bits(1, 1), 0x10);
  for (auto [x, y] : {std::pair{-1, 0}, {6, 0}, {0, 8}, {0, -1}}) r.setDot(x, y, kInk);
  r.setDot(LLONG_MIN, LLONG_MAX, kInk);
  EXPECT_EQ(dotsOf(r), (Dots{{3, 5}}));
  EXPECT_EQ(r.bits(5, 5), 0);  // cells outside read as empty
}

TEST(BrailleRaster, ACellTakesTheInkOfItsLastDot) {
  BrailleRaster r(2, 1);
  const Rgb green{0, 255, 0};
  r.setDot(0, 0, kInk);
  r.setDot(1, 3, green);
  EXPECT_EQ(r.ink(0, 0), green);
  EXPECT_EQ(r.bits(0, 0), 0x81);
  EXPECT_EQ(r.ink(1, 0), (Rgb{0, 0, 0}));
}

TEST(BrailleRaster, StraightLinesFillTheirCells) {
  BrailleRaster across(3, 1);
  across.line({0, 1}, {5, 1}, kInk);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(across.bits(c, 0), 0x12) << c;

  BrailleRaster down(1, 2);
  down.line({0, 7}, {0, 0}, kInk);
  EXPECT_EQ(down.bits(0, 0), 0x47);
  EXPECT_EQ(down.bits(0, 1), 0x47);

  BrailleRaster diagonal(2, 1);
  diagonal.line({0, 0}, {3, 3}, kInk);
  EXPECT_EQ(diagonal.bits(0, 0), 0x11);
  EXPECT_EQ(diagonal.bits(1, 0), 0x84);

  BrailleRaster point(1, 1);
  point.line({1, 2}, {1, 2}, kInk);
  EXPECT_EQ(dotsOf(point), (Dots{{1, 2}}));
}

TEST(BrailleRaster, ASlopedLineSteps) {
  for (auto [a, b] : {std::pair<ui::CanvasXY, ui::CanvasXY>{{0, 0}, {9, 3}}, {{1, 11}, {4, 0}}}) {
    BrailleRaster r(5, 3);
    r.line(a, b, kInk);
    Dots dots = dotsOf(r);
    EXPECT_TRUE(dots.count({a.x, a.y}));
    EXPECT_TRUE(dots.count({b.x, b.y}));
    // One dot per step along the longer axis, never a gap in the other.
    const bool wide = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
    const int steps = wide ? std::abs(b.x - a.x) : std::abs(b.y - a.y);
    EXPECT_EQ(static_cast<int>(dots.size()), steps + 1);
    std::set<int> majors;
    for (auto [x, y] : dots) majors.insert(wide ? x : y);
    EXPECT_EQ(static_cast<int>(majors.size()), steps + 1);
    for (auto [x, y] : dots) {
      // Each dot lies within half a dot of the exact line (along the shorter axis).
      const double t = wide ? double(x - a.x) / (b.x - a.x) : double(y - a.y) / (b.y - a.y);
      const double exact = wide ? a.y + t * (b.y - a.y) : a.x + t * (b.x - a.x);
      EXPECT_LE(std::abs((wide ? y : x) - exact), 0.5) << x << "," << y;
    }
    BrailleRaster back(5, 3);
    back.line(b, a, kInk);
    EXPECT_EQ(dotsOf(back), dots);
  }
}

TEST(BrailleRaster, LinesAreClippedToTheRaster) {
  BrailleRaster r(4, 1);
  r.line({-1000000000, 2}, {1000000000, 2}, kInk);
  Dots row;
  for (int x = 0; x < 8; ++x) row.insert({x, 2});
  EXPECT_EQ(dotsOf(r), row);

  BrailleRaster corner(2, 1);
  corner.line({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, kInk);
  EXPECT_EQ(dotsOf(corner), (Dots{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));

  BrailleRaster none(2, 2);
  none.line({-10, -5}, {-1, 20}, kInk);
  none.line({0, 9}, {30, 40}, kInk);
  EXPECT_TRUE(dotsOf(none).empty());

  // The part inside is the same dots the whole line has in a larger raster.
  BrailleRaster small(5, 2), large(11, 3);
  small.line({-10, -5}, {10, 5}, kInk);
  large.line({0, 0}, {20, 10}, kInk);
  Dots shifted;
  for (auto [x, y] : dotsOf(large))
    if (x >= 10 && y >= 5 && x - 10 < small.width() && y - 5 < small.height()) shifted.insert({x - 10, y - 5});
  EXPECT_FALSE(shifted.empty());
  EXPECT_EQ(dotsOf(small), shifted);
}

TEST(BrailleRaster, PolylinesJoinTheirPoints) {
  BrailleRaster r(3, 1);
  r.polyline({{0, 0}, {4, 0}, {4, 3}}, kInk);
  EXPECT_EQ(dotsOf(r), (Dots{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 1}, {4, 2}, {4, 3}}));
  BrailleRaster one(1, 1);
  one.polyline({{1, 1}}, kInk);
  EXPECT_EQ(dotsOf(one), (Dots{{1, 1}}));
  BrailleRaster empty(1, 1);
  empty.polyline({}, kInk);
  EXPECT_TRUE(dotsOf(empty).empty());
}

TEST(BrailleRaster, ASmallCircleIsItsTwelveDots) {
  BrailleRaster r(5, 3);
  r.circle({5, 5}, 2, kInk);
  Dots want;
  for (auto [x, y] : {std::pair{2, 0}, {2, 1}, {1, 2}})
    for (int sx : {-1, 1})
      for (int sy : {-1, 1}) want.insert({5 + sx * x, 5 + sy * y}), want.insert({5 + sx * y, 5 + sy * x});
  EXPECT_EQ(want.size(), 12u);
  EXPECT_EQ(dotsOf(r), want);

  BrailleRaster dot(2, 2);
  dot.circle({1, 1}, 0, kInk);
  EXPECT_EQ(dotsOf(dot), (Dots{{1, 1}}));
  dot.circle({1, 1}, -3, kInk);
  EXPECT_EQ(dotsOf(dot), (Dots{{1, 1}}));
}

TEST(BrailleRaster, ALargerCircleStaysOnItsRadiusAndIsSymmetric) {
  const int cx = 20, cy = 20, radius = 9;
  BrailleRaster r(20, 10);
  r.circle({cx, cy}, radius, kInk);
  Dots dots = dotsOf(r);
  ASSERT_FALSE(dots.empty());
  for (auto [x, y] : dots) {
    const int dx = x - cx, dy = y - cy;
    EXPECT_LT(std::abs(std::hypot(dx, dy) - radius), 1.0) << x << "," << y;
    EXPECT_TRUE(dots.count({cx - dx, y}) && dots.count({x, cy - dy}) && dots.count({cx + dy, cy + dx}))
        << x << "," << y;
  }
  // Every column across it has a dot above and below the centre.
  for (int x = cx - radius; x <= cx + radius; ++x) {
    bool above = false, below = false;
    for (auto [dx, dy] : dots) above |= dx == x && dy <= cy, below |= dx == x && dy >= cy;
    EXPECT_TRUE(above && below) << x;
  }
}

TEST(BrailleRaster, CirclesAreClippedAndHugeOnesSkipped) {
  BrailleRaster r(4, 2);
  r.circle({0, 0}, 3, kInk);  // only the quarter below and right of the centre shows
  EXPECT_EQ(dotsOf(r), (Dots{{3, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 3}}));

  BrailleRaster away(4, 2);
  away.circle({-100, -100}, 50, kInk);
  away.circle({INT_MAX, INT_MIN}, 5, kInk);
  away.circle({2, 2}, BrailleRaster::kMaxRadius + 1, kInk);
  EXPECT_TRUE(dotsOf(away).empty());
}

}  // namespace

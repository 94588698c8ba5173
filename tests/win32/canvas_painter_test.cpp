// Painting a canvas picture with GDI: each ink in its colour, the order of
// the layers, labels beside circles and above the scale bar, texts in their
// own height, far-off points clipped instead of lost, the DC left as found.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "canvas_painter.hpp"

namespace {

using frontend::inkColour;
using frontend::kCanvasBackground;
using frontend::paintDrawing;

constexpr int kWidth = 240, kHeight = 160;

// A 32-bit bitmap in a memory DC whose pixels can be read back.
class Bitmap {
 public:
  Bitmap() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Bitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  bool ok() const { return dc_ && bitmap_ && bits_; }
  HDC dc() const { return dc_; }

  void paint(const ui::Drawing& d) {
    paintDrawing(dc_, d, RECT{0, 0, kWidth, kHeight});
    GdiFlush();
  }
  COLORREF at(int x, int y) const {
    const std::uint32_t p = bits_[y * kWidth + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // How many pixels of colour lie in [left, right) x [top, bottom).
  int count(COLORREF colour, int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (at(x, y) == colour) ++n;
    return n;
  }
  // The rows holding pixels of colour: first and one past the last.
  std::pair<int, int> rowsOf(COLORREF colour) const {
    int first = -1, last = -1;
    for (int y = 0; y < kHeight; ++y)
      if (count(colour, 0, y, kWidth, y + 1) > 0) {
        if (first < 0) first = y;
        last = y + 1;
      }
    return {first, last};
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

class CanvasPainter : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bitmap_.ok()); }
  Bitmap bitmap_;
};

TEST(CanvasInks, AreDistinctWhereTheyMeanDifferentThings) {
  const ui::Ink points[] = {ui::Ink::Current, ui::Ink::Start, ui::Ink::Destination, ui::Ink::Background,
                            ui::Ink::Track};
  for (ui::Ink a : points) {
    EXPECT_NE(inkColour(a), kCanvasBackground);
    for (ui::Ink b : points) {
      if (a == b) continue;
      EXPECT_NE(inkColour(a), inkColour(b)) << int(a) << " and " << int(b);
    }
  }
  EXPECT_NE(inkColour(ui::Ink::Leg), kCanvasBackground);
  EXPECT_NE(inkColour(ui::Ink::Text), kCanvasBackground);
}

TEST_F(CanvasPainter, CirclesAreFilledInTheirInkWithTheLabelToTheRight) {
  ui::Drawing d;
  d.circles.push_back({{40, 40}, 4, ui::Ink::Destination, ""});
  d.circles.push_back({{100, 40}, 4, ui::Ink::Start, ""});
  d.circles.push_back({{40, 100}, 4, ui::Ink::Current, "WWW"});
  bitmap_.paint(d);

  EXPECT_EQ(bitmap_.at(40, 40), inkColour(ui::Ink::Destination));
  EXPECT_EQ(bitmap_.at(43, 40), inkColour(ui::Ink::Destination));
  EXPECT_EQ(bitmap_.at(40, 37), inkColour(ui::Ink::Destination));
  EXPECT_EQ(bitmap_.at(47, 40), kCanvasBackground);
  EXPECT_EQ(bitmap_.at(100, 40), inkColour(ui::Ink::Start));
  EXPECT_EQ(bitmap_.at(40, 100), inkColour(ui::Ink::Current));
  EXPECT_EQ(bitmap_.at(5, 5), kCanvasBackground);

  const COLORREF blue = inkColour(ui::Ink::Current);
  EXPECT_GT(bitmap_.count(blue, 46, 88, 120, 112), 10) << "the label beside the circle";
  EXPECT_EQ(bitmap_.count(blue, 0, 80, 35, 120), 0) << "nothing left of the circle";
  EXPECT_EQ(bitmap_.count(inkColour(ui::Ink::Destination), 46, 30, 90, 50), 0) << "no label drawn for an empty one";
}

TEST_F(CanvasPainter, LinesAreDrawnAlongTheirLengthAndCirclesLieOverThem) {
  ui::Drawing d;
  d.lines.push_back({{10, 60}, {230, 60}, ui::Ink::Leg});
  d.polylines.push_back({{{120, 10}, {120, 150}}, ui::Ink::Current});
  d.circles.push_back({{60, 60}, 4, ui::Ink::Destination, ""});
  bitmap_.paint(d);

  const COLORREF black = inkColour(ui::Ink::Leg);
  for (int x : {12, 100, 200, 228}) EXPECT_EQ(bitmap_.at(x, 60), black) << "x " << x;
  EXPECT_EQ(bitmap_.at(100, 66), kCanvasBackground);
  EXPECT_EQ(bitmap_.at(120, 30), inkColour(ui::Ink::Current)) << "the polyline";
  EXPECT_EQ(bitmap_.at(120, 60), black) << "lines over polylines";
  EXPECT_EQ(bitmap_.at(60, 60), inkColour(ui::Ink::Destination)) << "circles over lines";
}

TEST_F(CanvasPainter, DashedInksLeaveGapsAndSolidOnesDoNot) {
  ui::Drawing d;
  d.polylines.push_back({{{10, 30}, {230, 30}}, ui::Ink::Track});
  d.lines.push_back({{10, 90}, {230, 90}, ui::Ink::ToGo});
  d.lines.push_back({{10, 130}, {230, 130}, ui::Ink::Leg});
  bitmap_.paint(d);

  const COLORREF track = inkColour(ui::Ink::Track), toGo = inkColour(ui::Ink::ToGo);
  EXPECT_GT(bitmap_.count(track, 20, 30, 220, 31), 40);
  EXPECT_GT(bitmap_.count(kCanvasBackground, 20, 30, 220, 31), 10) << "the track is dashed";
  EXPECT_GT(bitmap_.count(toGo, 20, 90, 220, 91), 40);
  EXPECT_GT(bitmap_.count(kCanvasBackground, 20, 90, 220, 91), 10) << "the line to go is dashed";
  EXPECT_EQ(bitmap_.count(kCanvasBackground, 20, 130, 220, 131), 0) << "the leg is solid";
}

TEST_F(CanvasPainter, FarOffPointsAreClippedNotLost) {
  ui::Drawing d;
  d.lines.push_back({{-2000000000, 50}, {2000000000, 50}, ui::Ink::Leg});
  d.polylines.push_back({{{20, 100}, {-1500000000, 100}, {20, 100}, {2100000000, 100}}, ui::Ink::Current});
  d.lines.push_back({{-2000000000, -2000000000}, {-1900000000, 2000000000}, ui::Ink::Destination});
  d.circles.push_back({{1900000000, 80}, 4, ui::Ink::Start, "far"});
  d.texts.push_back({{-1900000000, 10}, "far", 16, ui::Ink::Text});
  bitmap_.paint(d);

  for (int x : {1, 120, 238}) {
    EXPECT_EQ(bitmap_.at(x, 50), inkColour(ui::Ink::Leg)) << "x " << x;
    EXPECT_EQ(bitmap_.at(x, 100), inkColour(ui::Ink::Current)) << "x " << x;
  }
  EXPECT_EQ(bitmap_.count(inkColour(ui::Ink::Destination), 0, 0, kWidth, kHeight), 0);
  EXPECT_EQ(bitmap_.count(inkColour(ui::Ink::Start), 0, 0, kWidth, kHeight), 0);
}

TEST_F(CanvasPainter, TheScaleBarHasEndTicksAndItsLabelAbove) {
  ui::Drawing d;
  d.scaleBars.push_back({{40, 120}, 100, "500 m"});
  bitmap_.paint(d);

  const COLORREF ink = inkColour(ui::Ink::Scale);
  for (int x : {40, 90, 140}) EXPECT_EQ(bitmap_.at(x, 120), ink) << "x " << x;
  for (int x : {40, 140}) {
    EXPECT_EQ(bitmap_.at(x, 117), ink) << "tick at " << x;
    EXPECT_EQ(bitmap_.at(x, 123), ink) << "tick at " << x;
  }
  EXPECT_EQ(bitmap_.at(90, 117), kCanvasBackground) << "no tick in the middle";
  EXPECT_GT(bitmap_.count(ink, 50, 90, 130, 115), 10) << "the label above the bar";
  EXPECT_EQ(bitmap_.count(ink, 0, 125, kWidth, kHeight), 0) << "nothing below the ticks";
}

TEST_F(CanvasPainter, TextsStartAtTheirTopLeftInTheirOwnHeight) {
  ui::Drawing small, large;
  small.texts.push_back({{20, 40}, "HHHH", 12, ui::Ink::Text});
  large.texts.push_back({{20, 40}, "HHHH", 48, ui::Ink::Text});
  const COLORREF ink = inkColour(ui::Ink::Text);

  bitmap_.paint(small);
  const auto [smallTop, smallEnd] = bitmap_.rowsOf(ink);
  ASSERT_GE(smallTop, 40);
  EXPECT_LE(smallEnd, 40 + 12);
  EXPECT_EQ(bitmap_.count(ink, 0, 0, 20, kHeight), 0) << "nothing left of the text";

  bitmap_.paint(large);
  const auto [largeTop, largeEnd] = bitmap_.rowsOf(ink);
  ASSERT_GE(largeTop, 40);
  EXPECT_LE(largeEnd, 40 + 48);
  EXPECT_GT(largeEnd - largeTop, 2 * (smallEnd - smallTop)) << "a taller font for the taller text";
}

TEST_F(CanvasPainter, LeavesTheDcAsItFoundIt) {
  HGDIOBJ font = GetCurrentObject(bitmap_.dc(), OBJ_FONT);
  HGDIOBJ pen = GetCurrentObject(bitmap_.dc(), OBJ_PEN);
  HGDIOBJ brush = GetCurrentObject(bitmap_.dc(), OBJ_BRUSH);
  ui::Drawing d;
  d.lines.push_back({{0, 0}, {100, 100}, ui::Ink::Leg});
  d.circles.push_back({{50, 50}, 4, ui::Ink::Current, "label"});
  d.texts.push_back({{0, 0}, "text", 30, ui::Ink::Text});
  d.scaleBars.push_back({{10, 140}, 50, "1 km"});
  bitmap_.paint(d);
  EXPECT_EQ(GetCurrentObject(bitmap_.dc(), OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(bitmap_.dc(), OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(bitmap_.dc(), OBJ_BRUSH), brush);
  EXPECT_EQ(GetBkMode(bitmap_.dc()), OPAQUE);

  // A second picture paints over all of the first.
  bitmap_.paint(ui::Drawing{});
  EXPECT_EQ(bitmap_.count(kCanvasBackground, 0, 0, kWidth, kHeight), kWidth * kHeight);
}

}  // namespace

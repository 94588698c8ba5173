#include "canvas_painter.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/wide.hpp"

namespace frontend {

namespace {

// What reaches GDI stays within this many pixels around the area: GDI's
// fixed-point arithmetic overflows on coordinates of a far-off waypoint.
constexpr int kMargin = 4096;
// Longer texts are cut: nothing past this fits on any screen.
constexpr std::size_t kMaxTextChars = 1024;
constexpr int kTick = 4;  // half the height of a scale bar's end ticks

struct Box {
  double left, top, right, bottom;
  bool contains(double x, double y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

Box boxAround(const RECT& area) {
  return {static_cast<double>(area.left) - kMargin, static_cast<double>(area.top) - kMargin,
          static_cast<double>(area.right) + kMargin, static_cast<double>(area.bottom) + kMargin};
}

int px(double v) { return static_cast<int>(std::lround(v)); }

// Cuts the segment to box (Liang-Barsky); false when nothing of it is inside.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, const Box& box) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
  double t0 = 0.0, t1 = 1.0;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  const double ax = x0 + t0 * dx, ay = y0 + t0 * dy;
  x1 = x0 + t1 * dx;
  y1 = y0 + t1 * dy;
  x0 = ax;
  y0 = ay;
  return true;
}

void segment(HDC dc, ui::CanvasXY from, ui::CanvasXY to, const Box& box) {
  double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
  if (!clipSegment(x0, y0, x1, y1, box)) return;
  MoveToEx(dc, px(x0), px(y0), nullptr);
  LineTo(dc, px(x1), px(y1));
}

struct PenStyle {
  int style;
  int width;
};

PenStyle penOf(ui::Ink ink) {
  switch (ink) {
    case ui::Ink::Leg: return {PS_SOLID, 2};
    case ui::Ink::ToGo:
    case ui::Ink::Track: return {PS_DASH, 1};  // dashes exist only at width 1
    default: return {PS_SOLID, 1};
  }
}

// A GDI object selected into a DC for the lifetime of the guard, then
// deselected and deleted.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_, old_;
};

// The fonts of one paint: the normal one and one per text height used.
class Fonts {
 public:
  Fonts() : normal_(createCanvasFont(kCanvasTextHeight)) {}
  ~Fonts() {
    DeleteObject(normal_);
    for (auto& f : sized_) DeleteObject(f.second);
  }
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  HFONT normal() const { return normal_; }
  HFONT ofHeight(int height) {
    if (height == kCanvasTextHeight) return normal_;
    for (auto& f : sized_)
      if (f.first == height) return f.second;
    sized_.emplace_back(height, createCanvasFont(height));
    return sized_.back().second;
  }

 private:
  HFONT normal_;
  std::vector<std::pair<int, HFONT>> sized_;
};

void text(HDC dc, int x, int y, const std::string& utf8) {
  std::wstring wide = platform::win32::toUtf16(utf8);
  if (wide.size() > kMaxTextChars) wide.resize(kMaxTextChars);
  if (!wide.empty()) TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void drawPolyline(HDC dc, const ui::CanvasPolyline& line, const Box& box) {
  if (line.points.size() < 2) return;
  const PenStyle pen = penOf(line.ink);
  Selected p(dc, CreatePen(pen.style, pen.width, inkColour(line.ink)));
  const bool inside = std::all_of(line.points.begin(), line.points.end(),
                                  [&](const ui::CanvasXY& q) { return box.contains(q.x, q.y); });
  if (inside) {
    std::vector<POINT> points;
    points.reserve(line.points.size());
    for (const ui::CanvasXY& q : line.points) points.push_back({q.x, q.y});
    Polyline(dc, points.data(), static_cast<int>(points.size()));
    return;
  }
  for (std::size_t i = 1; i < line.points.size(); ++i) segment(dc, line.points[i - 1], line.points[i], box);
}

void drawLine(HDC dc, const ui::CanvasLine& line, const Box& box) {
  const PenStyle pen = penOf(line.ink);
  Selected p(dc, CreatePen(pen.style, pen.width, inkColour(line.ink)));
  segment(dc, line.from, line.to, box);
}

void drawCircle(HDC dc, const ui::CanvasCircle& c, const Box& box, int lineHeight) {
  if (!box.contains(c.centre.x, c.centre.y)) return;
  const int r = std::clamp(c.radius, 1, kMargin);
  const COLORREF colour = inkColour(c.ink);
  {
    Selected pen(dc, CreatePen(PS_SOLID, 1, colour));
    Selected brush(dc, CreateSolidBrush(colour));
    Ellipse(dc, c.centre.x - r, c.centre.y - r, c.centre.x + r + 1, c.centre.y + r + 1);
  }
  if (c.label.empty()) return;
  SetTextColor(dc, colour);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  text(dc, c.centre.x + r + 3, c.centre.y - lineHeight / 2, c.label);
}

void drawScaleBar(HDC dc, const ui::CanvasScaleBar& bar, const Box& box) {
  if (!box.contains(bar.from.x, bar.from.y)) return;
  const int x0 = bar.from.x, y = bar.from.y;
  const int x1 = x0 + std::clamp(bar.length, 0, kMargin);
  const COLORREF colour = inkColour(ui::Ink::Scale);
  {
    Selected pen(dc, CreatePen(PS_SOLID, 1, colour));
    MoveToEx(dc, x0, y, nullptr);
    LineTo(dc, x1 + 1, y);
    for (int x : {x0, x1}) {
      MoveToEx(dc, x, y - kTick, nullptr);
      LineTo(dc, x, y + kTick + 1);
    }
  }
  if (bar.label.empty()) return;
  SetTextColor(dc, colour);
  SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
  text(dc, (x0 + x1) / 2, y - kTick - 1, bar.label);
}

void drawText(HDC dc, const ui::CanvasText& t, const Box& box, Fonts& fonts) {
  if (!box.contains(t.topLeft.x, t.topLeft.y)) return;
  SelectObject(dc, fonts.ofHeight(std::clamp(t.height, 1, 1024)));
  SetTextColor(dc, inkColour(t.ink));
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  text(dc, t.topLeft.x, t.topLeft.y, t.text);
}

}  // namespace

COLORREF inkColour(ui::Ink ink) {
  switch (ink) {
    case ui::Ink::Current: return RGB(0, 0, 255);
    case ui::Ink::Start: return RGB(0, 160, 0);
    case ui::Ink::Destination:
    case ui::Ink::ToGo: return RGB(220, 0, 0);
    case ui::Ink::Background: return RGB(128, 128, 128);
    case ui::Ink::Track: return RGB(0, 128, 128);
    case ui::Ink::Text:
    case ui::Ink::Leg:
    case ui::Ink::Scale: return RGB(0, 0, 0);
  }
  return RGB(0, 0, 0);
}

HFONT createCanvasFont(int height) {
  return CreateFontW(std::clamp(height, 1, 1024), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     FIXED_PITCH | FF_MODERN, L"Courier New");
}

ui::CanvasMetrics canvasMetrics(int width, int height) {
  ui::CanvasMetrics m;
  m.width = std::max(width, 0);
  m.height = std::max(height, 0);
  HFONT font = createCanvasFont(kCanvasTextHeight);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  if (GetTextMetricsW(dc, &tm)) {
    m.charWidth = std::max<int>(tm.tmAveCharWidth, 1);
    m.lineHeight = std::max<int>(tm.tmHeight + tm.tmExternalLeading, 1);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  m.scalableText = true;
  m.pointRadius = kCanvasPointRadius;
  return m;
}

void paintDrawing(HDC dc, const ui::Drawing& drawing, RECT area) {
  const int savedState = SaveDC(dc);
  {
    HBRUSH background = CreateSolidBrush(kCanvasBackground);
    FillRect(dc, &area, background);
    DeleteObject(background);
  }
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  SetBkMode(dc, TRANSPARENT);  // the gaps of dashed pens and around letters
  const Box box = boxAround(area);
  Fonts fonts;
  SelectObject(dc, fonts.normal());
  TEXTMETRICW tm{};
  const int lineHeight = GetTextMetricsW(dc, &tm) ? tm.tmHeight : kCanvasTextHeight;

  for (const ui::CanvasPolyline& p : drawing.polylines) drawPolyline(dc, p, box);
  for (const ui::CanvasLine& l : drawing.lines) drawLine(dc, l, box);
  for (const ui::CanvasCircle& c : drawing.circles) drawCircle(dc, c, box, lineHeight);
  for (const ui::CanvasScaleBar& b : drawing.scaleBars) drawScaleBar(dc, b, box);
  for (const ui::CanvasText& t : drawing.texts) drawText(dc, t, box, fonts);
  // The fonts are deleted with `fonts`: put the DC's own objects back first.
  RestoreDC(dc, savedState);
}

}  // namespace frontend

#include "cell_painter.hpp"

#include <algorithm>
#include <string>

#include "platform/win32/wide.hpp"
#include "ui/palette.hpp"

namespace frontend {

namespace {

COLORREF colourOf(ui::Rgb c) { return RGB(c.r, c.g, c.b); }
COLORREF paletteColour(int index) { return colourOf(ui::paletteRgb(index)); }

void fillSolid(HDC dc, const RECT& rc, COLORREF colour) {
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

}  // namespace

CellPainter::CellPainter() {
  for (int b = 0; b < 256; ++b) {
    // One byte, one cell: a byte the code page cannot show alone shows as '?'.
    std::wstring w = platform::win32::toUtf16(std::string(1, static_cast<char>(b)), CP_ACP);
    glyphs_[static_cast<std::size_t>(b)] = w.size() == 1 ? w[0] : L'?';
  }
  glyphs_[0] = L' ';
  setGeometry(geometry_);
}

void CellPainter::setGeometry(const ui::CellGeometry& geometry) {
  geometry_ = geometry;
  geometry_.cellWidth = std::max(geometry_.cellWidth, 1);
  geometry_.cellHeight = std::max(geometry_.cellHeight, 1);
  advance_.fill(geometry_.cellWidth);
}

RECT CellPainter::cellRect(int row, int col) const {
  const int w = cellWidth(), h = cellHeight();
  return RECT{(col - 1) * w, (row - 1) * h, col * w, row * h};
}

RECT CellPainter::rowRect(int row, int width) const {
  const int h = cellHeight();
  return RECT{0, (row - 1) * h, width, row * h};
}

RECT CellPainter::cursorRect(const ui::CursorShape& cursor) const {
  const int w = cellWidth(), h = cellHeight();
  RECT cell = cellRect(cursor.row, cursor.col);
  int width = w, height = 0;
  if (cursor.insert) {
    width = std::max(w / 2, 1);
    height = h * 6 / 10;
  } else {
    height = geometry_.tallCursor ? h - 10 : (h - 2) / 6;
  }
  height = std::clamp(height, 1, h);
  return RECT{cell.left, cell.bottom - height, cell.left + width, cell.bottom};
}

void CellPainter::paint(HDC dc, const ui::Screen& screen, const RECT& area) const {
  const int w = cellWidth(), h = cellHeight();
  const int first = std::max(1, static_cast<int>(area.top) / h + 1);
  const int last = std::min(screen.rows(), static_cast<int>(area.bottom - 1) / h + 1);
  for (int row = first; row <= last; ++row) {
    paintRow(dc, screen, row);
    paintGrid(dc, screen, row);
    paintFrames(dc, screen, row);
  }
  const COLORREF white = paletteColour(ui::kWhite);
  const int cellsRight = screen.cols() * w, cellsBottom = screen.rows() * h;
  fillSolid(dc, RECT{std::max<LONG>(area.left, cellsRight), area.top, area.right, area.bottom}, white);
  fillSolid(dc, RECT{area.left, std::max<LONG>(area.top, cellsBottom), std::min<LONG>(area.right, cellsRight),
                     area.bottom},
            white);
}

void CellPainter::paintRow(HDC dc, const ui::Screen& screen, int row) const {
  const int w = cellWidth(), h = cellHeight();
  const int textY = (row - 1) * h + geometry_.internalLeading / 2;
  std::array<wchar_t, ui::Screen::kMaxText> text{};
  int col = 1;
  while (col <= screen.cols()) {
    // A run of one colour pair, at most 255 cells: one text output.
    const ui::ScreenCell& head = screen.at(row, col);
    int n = 0;
    while (col + n <= screen.cols() && n < ui::Screen::kMaxText) {
      const ui::ScreenCell& cell = screen.at(row, col + n);
      if (cell.fg != head.fg || cell.bg != head.bg) break;
      text[static_cast<std::size_t>(n)] = glyphs_[cell.ch];
      ++n;
    }
    RECT rc{(col - 1) * w, (row - 1) * h, (col - 1 + n) * w, row * h};
    SetTextColor(dc, paletteColour(head.fg));
    SetBkColor(dc, paletteColour(head.bg));
    ExtTextOutW(dc, rc.left, textY, ETO_OPAQUE | ETO_CLIPPED, &rc, text.data(), static_cast<UINT>(n),
                advance_.data());
    col += n;
  }
}

void CellPainter::paintGrid(HDC dc, const ui::Screen& screen, int row) const {
  if (!geometry_.gridLines) return;
  const int w = cellWidth(), h = cellHeight();
  const int width = screen.cols() * w, top = (row - 1) * h, bottom = row * h;
  const COLORREF dark = paletteColour(ui::kDkGray), light = paletteColour(ui::kWhite);
  // Plain: a dark line along the bottom and right of every cell. 3D: a light
  // line along its top and left as well, so each cell looks raised.
  if (geometry_.grid3d) {
    fillSolid(dc, RECT{0, top, width, top + 1}, light);
    for (int col = 1; col <= screen.cols(); ++col)
      fillSolid(dc, RECT{(col - 1) * w, top, (col - 1) * w + 1, bottom}, light);
  }
  fillSolid(dc, RECT{0, bottom - 1, width, bottom}, dark);
  for (int col = 1; col <= screen.cols(); ++col) fillSolid(dc, RECT{col * w - 1, top, col * w, bottom}, dark);
}

void CellPainter::paintFrames(HDC dc, const ui::Screen& screen, int row) const {
  const int w = cellWidth(), h = cellHeight();
  const COLORREF pen = colourOf(ui::kFrameRgb);
  for (int col = 1; col <= screen.cols(); ++col) {
    const std::uint8_t bits = screen.at(row, col).frame;
    if (!bits) continue;
    // Two pixels wide, from the cell's centre to each side the bits name.
    const RECT cell = cellRect(row, col);
    const int cx = cell.left + w / 2, cy = cell.top + h / 2;
    if (bits & ui::kFrameUp) fillSolid(dc, RECT{cx - 1, cell.top, cx + 1, cy + 1}, pen);
    if (bits & ui::kFrameDown) fillSolid(dc, RECT{cx - 1, cy - 1, cx + 1, cell.bottom}, pen);
    if (bits & ui::kFrameLeft) fillSolid(dc, RECT{cell.left, cy - 1, cx + 1, cy + 1}, pen);
    if (bits & ui::kFrameRight) fillSolid(dc, RECT{cx - 1, cy - 1, cell.right, cy + 1}, pen);
  }
}

}  // namespace frontend

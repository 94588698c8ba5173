#include "command_bar.hpp"

#include <algorithm>

#include "glyphs.hpp"

namespace tui {

namespace {

// Three rows of six cells each: a table, a window, sliders, a satellite,
// a question mark, a door with an arrow.
struct Picture {
  const char32_t* rows[3];
  PaletteIndex colour;
};

const Picture kPictures[6] = {
    {{U"\u250C\u2500\u252C\u2500\u2500\u2510", U"\u251C\u2500\u253C\u2500\u2500\u2524",
      U"\u2514\u2500\u2534\u2500\u2500\u2518"},
     kDkBlue},
    {{U"\u259B\u2580\u2580\u2580\u2580\u259C", U"\u258C\u25A0 \u25A0 \u2590", U"\u2599\u2584\u2584\u2584\u2584\u259F"},
     kDkPurple},
    {{U"\u2500\u25CF\u2500\u2500\u2500\u2500", U"\u2500\u2500\u2500\u2500\u25CF\u2500",
      U"\u2500\u2500\u25CF\u2500\u2500\u2500"},
     kDkTeal},
    {{U"\u25A4\u2550\u25C6\u2550\u25A4 ", U"  \u2571   ", U" \u25C9    "}, kDkGreen},
    {{U" \u256D\u2500\u256E ", U"  \u256D\u256F ", U"  \u25CF  "}, kDkYellow},
    {{U"\u250C\u2500\u2510   ", U"\u2502 \u2502\u2500\u25BA", U"\u2514\u2500\u2518   "}, kDkRed},
};

// The access letters of the accelerators: the first letter of each label.
constexpr int kAccessIndex = 0;

}  // namespace

CommandBarLayout layoutCommandBar(int top, int bottom, int cols) {
  CommandBarLayout l;
  const int height = std::max(bottom - top + 1, 0);
  l.columns = cols >= 6 * kButtonCols + 7 ? 6 : 3;
  l.rows = 6 / l.columns;
  l.pictures = height >= l.rows * kButtonRows + (l.rows - 1);
  const int bh = l.pictures ? kButtonRows : kButtonRowsFlat;
  const int bw = std::max(std::min(kButtonCols, (cols - (l.columns + 1)) / l.columns), 3);
  const int gap = std::max((cols - l.columns * bw) / (l.columns + 1), 0);
  const int used = l.columns * bw + (l.columns - 1) * gap;
  const int left = std::max((cols - used) / 2 + 1, 1);
  const int vgap = l.rows > 1 && height >= 2 * bh + 1 ? 1 : 0;
  for (int i = 0; i < 6; ++i) {
    const int c = i % l.columns, r = i / l.columns;
    l.buttons[static_cast<std::size_t>(i)] = {top + r * (bh + vgap), left + c * (bw + gap), bh, bw};
  }
  return l;
}

void drawCommandBar(CellGrid& grid, const CommandBarLayout& l, int pressed) {
  for (int i = 0; i < 6; ++i) {
    const CellRect& b = l.buttons[static_cast<std::size_t>(i)];
    const bool down = i == pressed;
    const Rgb paper = down ? dimInk() : dialogPaper();
    const Rgb ink = dialogInk();
    drawBox(grid, b, ink, paper);
    const int inner = b.cols - 2;
    if (l.pictures && b.rows >= kButtonRows) {
      const Picture& p = kPictures[i];
      for (int r = 0; r < 3; ++r) {
        std::u32string row = p.rows[r];
        int col = b.col + 1 + std::max((inner - static_cast<int>(row.size())) / 2, 0);
        if (static_cast<int>(row.size()) > inner) row.resize(static_cast<std::size_t>(std::max(inner, 0)));
        grid.putText(b.row + 1 + r, col, row, paletteRgb(p.colour), paper, kAttrBold);
      }
    }
    std::u32string label = glyphsOfUtf8(kCommandBarLabels[i]);
    if (static_cast<int>(label.size()) > inner) label.resize(static_cast<std::size_t>(std::max(inner, 0)));
    const int labelRow = b.bottom() - 1;
    const int col = b.col + 1 + std::max((inner - static_cast<int>(label.size())) / 2, 0);
    grid.putText(labelRow, col, label, ink, paper, kAttrBold);
    if (!label.empty() && grid.contains(labelRow, col + kAccessIndex))
      grid.at(labelRow, col + kAccessIndex).attr |= kAttrUnderline;
  }
}

int commandButtonAt(const CommandBarLayout& l, int row, int col) {
  for (int i = 0; i < 6; ++i)
    if (l.buttons[static_cast<std::size_t>(i)].contains(row, col)) return i;
  return -1;
}

}  // namespace tui

#include "touch_buttons.hpp"

#include "frame.hpp"
#include "glyphs.hpp"

namespace tui {

std::vector<TouchButtonSpot> layoutTouchButtons(const std::vector<ui::TouchButton>& buttons, int cols) {
  std::vector<TouchButtonSpot> spots;
  int right = cols;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    int left = right - kTouchButtonWidth + 1;
    if (left < 1) break;
    spots.push_back({left, right, static_cast<int>(i)});
    right = left - 1 - kTouchButtonGap;
  }
  return spots;
}

int touchButtonAt(const std::vector<TouchButtonSpot>& spots, int col) {
  for (const TouchButtonSpot& s : spots)
    if (col >= s.left && col <= s.right) return s.index;
  return -1;
}

void drawTouchButtons(CellGrid& grid, int row, const std::vector<ui::TouchButton>& buttons,
                      const std::vector<TouchButtonSpot>& spots) {
  const Rgb strip = paletteRgb(kDkGray);
  grid.fillRect(row, 1, row, grid.cols(), Cell{U' ', dialogInk(), strip, kAttrNone});
  for (const TouchButtonSpot& s : spots) {
    if (s.index < 0 || static_cast<std::size_t>(s.index) >= buttons.size()) continue;
    const int width = s.right - s.left + 1;
    grid.fillRect(row, s.left, row, s.right, Cell{U' ', dialogInk(), dialogPaper(), kAttrNone});
    std::u32string label = glyphsOfUtf8(buttons[static_cast<std::size_t>(s.index)].label);
    if (static_cast<int>(label.size()) > width) label.resize(static_cast<std::size_t>(width));
    const int col = s.left + (width - static_cast<int>(label.size())) / 2;
    grid.putText(row, col, label, dialogInk(), dialogPaper(), kAttrBold);
  }
}

}  // namespace tui

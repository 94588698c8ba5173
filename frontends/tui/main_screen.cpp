#include "main_screen.hpp"

#include <algorithm>

#include "glyphs.hpp"

namespace tui {

void drawMainScreen(CellGrid& grid, const shell::StatusLines& status) {
  const Rgb ink = paletteColour(kWhite);
  grid.fill(Cell{U' ', ink, kMainBackground, kAttrNone});
  grid.fillRect(1, 1, 1, grid.cols(), Cell{U' ', ink, paletteColour(kDkGreen), kAttrNone});
  std::u32string title = glyphsOfUtf8(kMainTitle);
  int titleCol = std::max((grid.cols() - static_cast<int>(title.size())) / 2 + 1, 1);
  grid.putText(1, titleCol, title, ink, paletteColour(kDkGreen), kAttrBold);

  const std::string* lines[] = {&status.application, &status.appPath, &status.dataPath, &status.dateTime};
  int row = std::max(grid.rows() - 4, 3);
  for (const std::string* line : lines) grid.putText(row++, 2, glyphsOfUtf8(*line), ink, kMainBackground, kAttrBold);
}

}  // namespace tui

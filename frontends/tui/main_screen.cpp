#include "main_screen.hpp"

#include <algorithm>
#include <vector>

#include "glyphs.hpp"
#include "menu.hpp"
#include "shell/commands.hpp"

namespace tui {

MainScreenLayout layoutMainScreen(int rows, int cols, int gpsLines) {
  MainScreenLayout l;
  l.statusRow = std::max(rows - 4 - std::max(gpsLines, 0), 4);
  int top = l.menuRow + 2;
  int bottom = l.statusRow - 2;
  // Half a button's height of space above the bar when there is room for it.
  CommandBarLayout probe = layoutCommandBar(top, bottom, cols);
  int needed = probe.rows * (probe.pictures ? kButtonRows : kButtonRowsFlat) + (probe.rows - 1);
  if (bottom - top + 1 >= needed + kButtonRows / 2) top += kButtonRows / 2 - 1;
  l.bar = layoutCommandBar(top, bottom, cols);
  return l;
}

void drawMainScreen(CellGrid& grid, const shell::StatusLines& status, int pressed) {
  const Rgb ink = paletteRgb(kWhite);
  MainScreenLayout l = layoutMainScreen(grid.rows(), grid.cols(), static_cast<int>(status.gps.size()));
  grid.fill(Cell{U' ', ink, kMainBackground, kAttrNone});
  grid.fillRect(l.titleRow, 1, l.titleRow, grid.cols(), Cell{U' ', ink, paletteRgb(kDkGreen), kAttrNone});
  std::u32string title = glyphsOfUtf8(kMainTitle);
  int titleCol = std::max((grid.cols() - static_cast<int>(title.size())) / 2 + 1, 1);
  grid.putText(l.titleRow, titleCol, title, ink, paletteRgb(kDkGreen), kAttrBold);

  const auto& menu = shell::mainMenu();
  drawMenu(grid, layoutMenu(menu, nullptr, l.menuRow, grid.rows(), grid.cols()), menu, nullptr);
  drawCommandBar(grid, l.bar, pressed);

  // The application, the GPS block while GPS is on, the paths and the clock.
  std::vector<const std::string*> lines = {&status.application};
  for (const std::string& line : status.gps) lines.push_back(&line);
  for (const std::string* line : {&status.appPath, &status.dataPath, &status.dateTime}) lines.push_back(line);
  int row = l.statusRow;
  for (const std::string* line : lines)
    if (row <= grid.rows()) grid.putText(row++, 2, glyphsOfUtf8(*line), ink, kMainBackground, kAttrBold);
}

}  // namespace tui

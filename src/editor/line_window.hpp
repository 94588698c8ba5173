#pragma once
// The window of lines a VirtualDisplay screen shows: the top and bottom line
// follow the current line so that it stays in view.
#include <cstdint>

namespace editor {

struct LineWindow {
  std::int32_t top = 1, bottom = 0;
  std::int32_t linesPerPage = 0;  // grid rows available for lines: last grid row − first grid row
  bool moved = false;             // top or bottom changed: the lines are drawn again
};

// The window after the current line moved: lines per page = min(lineCount,
// lastGridRow − firstGridRow); when that covers every line the window is
// 1..lineCount; a current line below the bottom makes it the bottom, one above
// the top makes it the top; then top is clamped to 1..lineCount and the
// page filled: bottom = min(lineCount, top + linesPerPage). A level without
// lines gives top 1, bottom 0.
LineWindow followLine(std::int32_t current, std::int32_t lineCount, std::int32_t top, std::int32_t bottom,
                      int firstGridRow, int lastGridRow);

// The grid row of line in the window, clamped to the grid rows.
int gridRowOf(std::int32_t line, std::int32_t top, int firstGridRow, int lastGridRow);

}  // namespace editor

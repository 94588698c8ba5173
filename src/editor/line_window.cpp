#include "editor/line_window.hpp"

#include <algorithm>

namespace editor {

LineWindow followLine(std::int32_t current, std::int32_t lineCount, std::int32_t top, std::int32_t bottom,
                      int firstGridRow, int lastGridRow) {
  LineWindow w;
  if (lineCount <= 0) {
    w.moved = top != 1 || bottom != 0;
    return w;
  }
  const std::int32_t rows = std::max(lastGridRow - firstGridRow, 0);
  w.linesPerPage = std::min(lineCount, rows);
  std::int32_t t = top, b = bottom;
  if (lineCount <= rows) {
    t = 1;
    b = lineCount;
  } else if (current > b) {
    b = current;
    t = b - w.linesPerPage;
  } else if (current < t) {
    t = current;
    b = t + w.linesPerPage;
  }
  t = std::max<std::int32_t>(t, 1);
  b = std::min(b, lineCount);
  t = std::min(t, b);
  // The page is always filled when there are lines for it.
  b = std::min(lineCount, t + w.linesPerPage);
  w.top = t;
  w.bottom = b;
  w.moved = t != top || b != bottom;
  return w;
}

int gridRowOf(std::int32_t line, std::int32_t top, int firstGridRow, int lastGridRow) {
  const std::int64_t row = static_cast<std::int64_t>(firstGridRow) + line - top;
  return static_cast<int>(std::clamp<std::int64_t>(row, firstGridRow, std::max(firstGridRow, lastGridRow)));
}

}  // namespace editor

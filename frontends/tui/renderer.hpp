#pragma once
// Turns the cell grid into terminal output, writing only what changed since
// the last frame.
#include <string>

#include "cell_grid.hpp"

namespace tui {

struct CursorState {
  bool visible = false;
  int row = 1, col = 1;
  friend bool operator==(const CursorState&, const CursorState&) = default;
};

// The bytes that turn a terminal showing `before` into one showing `after`.
// Only cells that differ are written (every cell when before is null or of
// another size); adjacent changed cells share one cursor move and a style is
// sent only when it differs from the previous cell written. The style state
// of the terminal is not assumed: the first cell written sends its style.
std::string drawCells(const CellGrid* before, const CellGrid& after);

class Renderer {
 public:
  // The output for one frame: the changed cells, then the cursor placed and
  // shown, or hidden. Empty when nothing changed.
  std::string frame(const CellGrid& next, const CursorState& cursor);
  // The next frame redraws every cell (the terminal may have been disturbed).
  void invalidate() { full_ = true; }

 private:
  CellGrid shown_;
  CursorState cursor_;
  bool full_ = true;
};

}  // namespace tui

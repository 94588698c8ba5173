#pragma once
// Turns the cell grid into terminal output, writing only what changed since
// the last frame.
#include <cstddef>
#include <optional>
#include <string>

#include "cell_grid.hpp"
#include "escapes.hpp"

namespace tui {

struct CursorState {
  bool visible = false;
  int row = 1, col = 1;
  esc::CursorStyle style = esc::CursorStyle::kDefault;
  friend bool operator==(const CursorState&, const CursorState&) = default;
};

// The bytes that turn a terminal showing `before` into one showing `after`.
// Only cells that differ are written (every cell when before is null or of
// another size); adjacent changed cells share one cursor move and a style is
// sent only when it differs from the previous cell written. pen, when given,
// holds the style the terminal is known to have (empty: not known, so the
// first cell written sends its style) and is left holding the last one sent.
std::string drawCells(const CellGrid* before, const CellGrid& after, std::optional<Cell>* pen = nullptr);

class Renderer {
 public:
  // Cell output up to this size is written with the cursor left on: it
  // reaches the terminal in one piece, so the cursor is never seen moving.
  static constexpr std::size_t kSmallWrite = 256;

  // The output for one frame: the changed cells, then the cursor's shape
  // when it changed, then the cursor placed and shown, or hidden. Empty when
  // nothing changed.
  std::string frame(const CellGrid& next, const CursorState& cursor);
  // The next frame redraws every cell (the terminal may have been disturbed).
  void invalidate() { full_ = true; }

 private:
  CellGrid shown_;
  CursorState cursor_;
  esc::CursorStyle style_ = esc::CursorStyle::kDefault;  // the shape the terminal was last given
  std::optional<Cell> pen_;                               // the style the terminal is drawing in
  bool full_ = true;
};

}  // namespace tui

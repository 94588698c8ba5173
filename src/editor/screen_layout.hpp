#pragma once
// The screen layout step of reformatting: every shown column of every screen
// of a level gets a title position, a value position, a display width and its
// page inside a window of rows × columns cells, and every column the default
// movement pairs. Cell (r, c) is the r-th row and c-th column from 1.
//
// VirtualDisplay screens: titles on the row above the first grid row (a
// second title line above that), columns left to right after the line-number
// area (columns 1-4 and a blank), one blank between columns, each as wide as
// the wider of its value and its title; a new page when the row is full.
// Values have row 0 (the grid row is the line's).
// LineDisplay screens: one column under the other from the first grid row;
// the trimmed title, a blank and the value on one row when they fit, else
// the title on one row and the value below it; a new page when the grid rows
// run out.
// Both: a display width wider than the window is cut to columns - 2 (and to
// the room after the line numbers); the line-number label (n characters)
// goes to row 1 at column columns - n - 5 and the number at columns - 4. The
// grid ends above the prompt row, which stays inside the window.
#include <array>
#include <vector>

#include "apps/layout.hpp"
#include "apps/level_definition.hpp"

namespace editor {

// Display types 1 and 2 are LineDisplay; the rest (0, 10, ...) VirtualDisplay.
constexpr bool isLineDisplay(int displayType) { return displayType == 1 || displayType == 2; }

struct MovePair {
  int lines = 0, columns = 0;
  friend bool operator==(const MovePair&, const MovePair&) = default;
};
using MovePairs = std::array<MovePair, apps::layout::column_check::kMoveCount>;

// The default pairs of column k (1..c) when shown[j] tells whether column j
// is shown (entry 0 unused; shown.size() == c + 1): Up (-1, 0), Down (+1, 0),
// Left (0, -1), Right and Enter (0, +1), the column counts reaching over
// hidden neighbours to the nearest shown column, 0 when there is none on that
// side (column 1 Left, the last column Right and Enter). On LineDisplay all
// line counts are 0, Up takes Left's columns and Down Right's.
MovePairs defaultMovePairs(const std::vector<bool>& shown, int k, bool lineDisplay);

struct PageBounds {
  int first = 0, last = 0;
};
// The first and last column of each column's page: the run of columns of the
// same screen and page around it (columns of other screens are stepped over).
// screenOf and pageOf have c + 1 entries (entry 0 unused); so has the result.
std::vector<PageBounds> pageBounds(const std::vector<int>& screenOf, const std::vector<int>& pageOf);

// Lays every screen of level out for rows × cols cells and gives every column
// its default movement pairs. Columns naming no screen of the level are put
// on screen 1. A window too small for a screen still gets positions inside
// it (they may share cells). Returns true when at least one shown column was
// placed: the screens now fit that window, so the edit window must make its
// font for it again; false when the level shows no column.
bool layoutScreens(apps::LevelDefinition& level, int rows, int cols);

}  // namespace editor

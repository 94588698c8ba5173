#pragma once
// The pop-up selection list drawn on the edit window's Screen: a framed box
// with a title row, the visible items, a footer row and a vertical scroll bar
// (arrows at its ends, a thumb placed in proportion to the selected item).
// It serves the choice lists of check files and the automatic-entry menu.
#include <string>
#include <vector>

namespace ui {

class Host;
class KeyQueue;
class Screen;

struct SelectList {
  std::string title;               // first row of the box; never chosen
  std::vector<std::string> items;  // item i (from 1) is items[i - 1]
  std::string footer;              // last row of the box; never chosen
  int selected = 1;                // preselected item, from 1 (clamped into the list)
  int row = 0, col = 0;            // where the title row's first text cell goes; 0: centred
  int visibleRows = 0;             // item rows shown; 0: as many as the screen holds
};

// Where the parts of a list land on a screen. Text columns are left ..
// left + width - 1; the scroll bar is the column after them; the frame runs
// one cell outside titleRow .. footerRow and left .. barCol.
struct SelectListLayout {
  int titleRow = 0, firstRow = 0, footerRow = 0;
  int left = 0, width = 0, barCol = 0;
  int visible = 0;  // item rows: firstRow .. firstRow + visible - 1
  // The scroll bar: the up arrow on firstRow, the down arrow on the last
  // item row, the track between them (trackLength 0 when there is none).
  int trackTop() const { return firstRow + 1; }
  int trackLength() const { return visible > 2 ? visible - 2 : 0; }
};

// The layout of list on a screen of rows × cols cells. A list of no items
// has a layout with visible 0. Needs a screen of at least 5 rows and 5
// columns (smaller ones give visible 0).
SelectListLayout layoutSelectList(const SelectList& list, int screenRows, int screenCols);

// The track row the thumb stands on for item selected of count items
// (0 when the bar has no track).
int thumbRow(const SelectListLayout& layout, int selected, int count);

// Shows list over the screen and takes keys until one chooses: returns the
// chosen item (from 1), or 0 for Escape, a click outside the box, the abort
// code (keys.aborted() then tells), a list without items, a screen with no
// free pop-up image slot (a beep; nothing is drawn) or the edit window
// closing meanwhile. While no key waits it calls host.pump() and sleeps
// 10 ms on the platform clock, so the front end shows the Screen. The
// screen beneath, the cursor, its shape and the colours are put back.
int selectFromList(Host& host, Screen& screen, KeyQueue& keys, const SelectList& list);

}  // namespace ui

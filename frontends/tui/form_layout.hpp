#pragma once
// Where a form's controls fall on the screen. One cell is 4 × 8 dialog units;
// the form's client area is framed and centred, and clipped to the screen.
#include <vector>

#include "frame.hpp"
#include "ui/form.hpp"
#include "ui/form_state.hpp"

namespace tui {

struct FormLayout {
  int screenRows = 0, screenCols = 0;  // the screen it was laid out for
  CellRect box;                        // the frame, inclusive
  std::vector<CellRect> controls;      // one per control of the form, in its order
};

// One-line controls (texts of one line, edits, buttons, check boxes, radio
// buttons, progress bars, closed drop-down lists) take the row through their
// middle; list boxes, group frames and taller texts take the rows they cover.
// Every control keeps at least one cell and is cut at the frame.
FormLayout layoutForm(const ui::Form& form, int rows, int cols);

// The index of the control at row, col that a click can reach (not hidden,
// not a text, frame or bar), or -1.
int controlAt(const ui::FormState& state, const FormLayout& layout, int row, int col);

}  // namespace tui

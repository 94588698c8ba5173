#pragma once
// One decoded input: a key code, and for the mouse codes the cell it happened at.
#include "ui/keys.hpp"

namespace tui {

struct InputEvent {
  ui::KeyCode key = 0;
  int row = 0, col = 0;  // mouse click, double click and release: the cell (from 1); else 0
  // Alt was held with a key whose code cannot say so (Alt+Down opens a
  // drop-down list; the edit window takes it as Down).
  bool alt = false;
  // The key was one of the terminal's function keys itself, not a digit
  // with Ctrl or Alt that gives the same code (the edit window opens its
  // keystroke help only for the F1 key).
  bool functionKey = false;
  // The right mouse button came up at row, col (key is then 0); only
  // reported when the decoder is asked to (KeyDecoder::reportRightButton).
  bool rightButton = false;
  friend bool operator==(const InputEvent&, const InputEvent&) = default;
};

}  // namespace tui

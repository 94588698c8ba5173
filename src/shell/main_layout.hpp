#pragma once
// Where the main window's six command-bar buttons go, from its client size.
#include <array>

#include "ui/form.hpp"

namespace shell {

struct ButtonLayout {
  bool portrait = false;  // 3 × 2 instead of 6 × 1
  int size = 0;           // the buttons are square
  int gap = 0;
  int columns = 6, rows = 1;
  std::array<ui::Rect, 6> buttons{};  // pixels, in command order
};

// Landscape (width ≥ height): one row of six buttons, each at most 125 pixels
// and at most half the height, with a gap of about 40; when six do not fit
// the portrait layout is used instead. Portrait: two rows of three, the size
// shrinking in steps of 5 until the row fits. taskbar: a taskbar window was
// found at start, which costs the portrait layout 20 pixels of height.
ButtonLayout layoutButtons(int clientWidth, int clientHeight, bool taskbar = false);

}  // namespace shell

#pragma once
// The key buttons along the edit window's right edge on the touch-screen
// production levels.
#include <vector>

#include "ui/edit_window.hpp"

namespace editor {

// The buttons of a production level, right to left: none below level 2;
// "AK" at level 2; at levels 3 and 4 (and above) "AK", then "F10" ("F0" with the
// on-screen keyboard), "F9" ... "F6", "A5", "F5" ... "F1". Each pushes its
// function key ("A5": Alt+F5; "F0" still F10); "AK" has key 0 and opens the
// action keys.
std::vector<ui::TouchButton> touchButtons(int productionLevel, bool onScreenKeyboard);

struct TouchButtonSize {
  int width = 0, height = 0;  // pixels
};
// A button is 0.99 × the client width / 12 wide and one cell high.
TouchButtonSize touchButtonSize(int clientWidth, int cellHeight);

}  // namespace editor

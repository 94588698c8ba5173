#pragma once
// The left mouse button as the edit window sees it: a press is a click (513),
// or a double click (515) when it follows a click on the same cell within
// the double-click time; releasing after the pointer moved is 512.
#include <cstdint>

#include "input_event.hpp"

namespace tui {

class MouseTracker {
 public:
  explicit MouseTracker(std::uint32_t doubleClickMs) : doubleClickMs_(doubleClickMs) {}

  // The button went down at row, col at time nowMs (milliseconds, any origin).
  InputEvent press(int row, int col, std::uint64_t nowMs);
  // The pointer moved to row, col (reported only while the button is down).
  void motion(int row, int col);
  // The button came up; a key of 0 when there is nothing to report (a plain click).
  InputEvent release(int row, int col);

 private:
  std::uint32_t doubleClickMs_;
  bool down_ = false, moved_ = false;
  int downRow_ = 0, downCol_ = 0;
  bool clickArmed_ = false;  // the last press was a single click that a second may complete
  std::uint64_t clickAt_ = 0;
  int clickRow_ = 0, clickCol_ = 0;
};

}  // namespace tui

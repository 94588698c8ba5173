#include "mouse_tracker.hpp"

namespace tui {

InputEvent MouseTracker::press(int row, int col, std::uint64_t nowMs) {
  down_ = true, moved_ = false;
  downRow_ = row, downCol_ = col;
  bool isDouble = clickArmed_ && row == clickRow_ && col == clickCol_ && nowMs >= clickAt_ &&
                  nowMs - clickAt_ <= doubleClickMs_;
  if (isDouble) {
    clickArmed_ = false;  // a third click starts over
    return {ui::key::kMouseDoubleClick, row, col};
  }
  clickArmed_ = true;
  clickAt_ = nowMs, clickRow_ = row, clickCol_ = col;
  return {ui::key::kMouseClick, row, col};
}

void MouseTracker::motion(int row, int col) {
  if (down_ && (row != downRow_ || col != downCol_)) moved_ = true;
}

InputEvent MouseTracker::release(int row, int col) {
  if (!down_) return {};
  down_ = false;
  if (moved_ || row != downRow_ || col != downCol_) {
    clickArmed_ = false;  // a drag does not begin a double click
    return {ui::key::kMouseRelease, row, col};
  }
  return {};
}

}  // namespace tui

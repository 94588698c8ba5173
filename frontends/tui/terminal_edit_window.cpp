#include "terminal_edit_window.hpp"

#include <algorithm>
#include <utility>

#include "screen_draw.hpp"
#include "terminal_host.hpp"

namespace tui {

namespace k = ui::key;

namespace {
constexpr int kMouseLevel = 1;     // mouse, wheel and Ctrl+K from this production level
constexpr int kButtonsLevel = 2;   // the touch buttons from this one
}  // namespace

TerminalEditWindow::TerminalEditWindow(TerminalHost& host, ui::Screen& screen, ui::KeyQueue& keys,
                                       ui::EditWindowSpec spec)
    : ui::EditWindow(host), term_(host), screen_(screen), keys_(keys), spec_(std::move(spec)) {
  term_.attachEditWindow(this);
}

TerminalEditWindow::~TerminalEditWindow() { term_.detachEditWindow(this); }

bool TerminalEditWindow::hasTouchRow() const {
  return spec_.productionLevel >= kButtonsLevel && !spec_.buttons.empty() && term_.rows() > 1;
}

int TerminalEditWindow::cellRows() const { return std::max(term_.rows() - (hasTouchRow() ? 1 : 0), 1); }
int TerminalEditWindow::cellColumns() const { return std::max(term_.cols(), 1); }
int TerminalEditWindow::clientWidth() const { return term_.cols(); }
int TerminalEditWindow::clientHeight() const { return term_.rows(); }

ui::FontMetrics TerminalEditWindow::useFont(const ui::FontRequest&) {
  return ui::FontMetrics{1, 0, 1};
}

void TerminalEditWindow::draw(CellGrid& grid, CursorState& cursor) const {
  const bool buttons = hasTouchRow() && grid.rows() > 1;
  const int rows = buttons ? grid.rows() - 1 : grid.rows();
  drawScreen(grid, screen_, rows);
  if (buttons) drawTouchButtons(grid, grid.rows(), spec_.buttons, layoutTouchButtons(spec_.buttons, grid.cols()));
  cursor = screenCursor(screen_, rows, grid.cols());
}

void TerminalEditWindow::pushButton(int index) {
  const ui::TouchButton& b = spec_.buttons[static_cast<std::size_t>(index)];
  if (b.key != 0) {
    (void)keys_.push(static_cast<ui::KeyCode>(b.key));
  } else if (spec_.actionKeys) {
    spec_.actionKeys();
  }
}

void TerminalEditWindow::onEvent(const InputEvent& e) {
  switch (e.key) {
    case k::kMouseClick:
    case k::kMouseDoubleClick:
    case k::kMouseRelease:
      if (spec_.productionLevel < kMouseLevel) return;
      if (hasTouchRow() && e.row == term_.rows()) {
        // The buttons' row is no part of the grid: only presses on a button count.
        if (e.key == k::kMouseRelease) return;
        if (int i = touchButtonAt(layoutTouchButtons(spec_.buttons, term_.cols()), e.col); i >= 0) pushButton(i);
        return;
      }
      (void)keys_.pushMouse(e.key, e.row, e.col);
      return;
    case k::kWheelForward:
    case k::kWheelBack:
      if (spec_.productionLevel >= kMouseLevel) (void)keys_.push(e.key);
      return;
    case k::kF1:
      if (e.functionKey && spec_.keyboardHelp) {
        spec_.keyboardHelp();
        return;
      }
      break;
    case k::kCtrlK:
      if (spec_.productionLevel >= kMouseLevel && spec_.actionKeys) {
        spec_.actionKeys();
        return;
      }
      break;
    default:
      break;
  }
  (void)keys_.push(e.key);
}

}  // namespace tui

#include "terminal_edit_window.hpp"

#include "platform/clock.hpp"

#include <algorithm>
#include <utility>

#include "glyphs.hpp"
#include "screen_draw.hpp"
#include "terminal_host.hpp"

namespace tui {

namespace k = ui::key;

namespace {
constexpr int kMouseLevel = 1;     // mouse, wheel and Ctrl+K from this production level
constexpr int kButtonsLevel = 2;   // the touch buttons from this one
}  // namespace

TerminalEditWindow::TerminalEditWindow(TerminalHost& host, ui::Screen& screen, ui::KeyQueue& keys,
                                       ui::EditWindowSetup setup)
    : ui::EditWindow(host), term_(host), screen_(screen), keys_(keys), setup_(std::move(setup)) {
  term_.attachEditWindow(this);
}

TerminalEditWindow::~TerminalEditWindow() { term_.detachEditWindow(this); }

bool TerminalEditWindow::hasTouchRow() const {
  return setup_.productionLevel >= kButtonsLevel && !setup_.buttons.empty() && term_.rows() > 1;
}

bool TerminalEditWindow::hasTitleRow() const { return !setup_.title.empty() && term_.rows() >= 3; }

int TerminalEditWindow::cellRows() const {
  return std::max(term_.rows() - (hasTouchRow() ? 1 : 0) - (hasTitleRow() ? 1 : 0), 1);
}
int TerminalEditWindow::cellColumns() const { return std::max(term_.cols(), 1); }
int TerminalEditWindow::clientWidth() const { return term_.cols(); }
int TerminalEditWindow::clientHeight() const { return term_.rows(); }

ui::FontMetrics TerminalEditWindow::useFont(const ui::FontRequest&) {
  return ui::FontMetrics{1, 0, 1};
}

void TerminalEditWindow::draw(CellGrid& grid, CursorState& cursor) const {
  const bool buttons = hasTouchRow() && grid.rows() > 1;
  const int top = hasTitleRow() && grid.rows() >= 3 ? 1 : 0;  // the title bar
  const int rows = (buttons ? grid.rows() - 1 : grid.rows()) - top;
  if (top) {
    const Rgb ink = ui::paletteRgb(ui::kWhite), bar = ui::paletteRgb(ui::kDkBlue);
    grid.fillRect(1, 1, 1, grid.cols(), Cell{U' ', ink, bar, kAttrNone});
    grid.putText(1, 2, glyphsOfUtf8(setup_.title), ink, bar, kAttrBold);
    // The GPS status line stands at the right end of the bar while it fits
    // beside the title.
    std::u32string status = glyphsOfUtf8(statusLine_);
    const int titleEnd = 2 + static_cast<int>(glyphsOfUtf8(setup_.title).size());
    const int room = grid.cols() - titleEnd - 3;
    // A line too long for the room keeps its beginning.
    if (room > 0 && static_cast<int>(status.size()) > room) status.resize(static_cast<std::size_t>(room));
    const int at = grid.cols() - static_cast<int>(status.size());
    if (!status.empty() && room > 0) grid.putText(1, at, status, ink, bar, kAttrNone);
  }
  drawScreen(grid, screen_, rows, top);
  if (buttons) drawTouchButtons(grid, grid.rows(), setup_.buttons, layoutTouchButtons(setup_.buttons, grid.cols()));
  cursor = screenCursor(screen_, rows, grid.cols());
  cursor.row += top;
}

bool TerminalEditWindow::refreshStatusLine() {
  if (!setup_.statusLine) return false;
  const std::uint64_t now = platform::clock().ticks();
  if (statusEverAsked_ && now - statusAsked_ < static_cast<std::uint64_t>(ui::kStatusLineEveryMs)) return false;
  statusEverAsked_ = true;
  statusAsked_ = now;
  std::string text = setup_.statusLine();
  if (!text.empty()) text += ' ';
  if (text == statusLine_) return false;
  statusLine_ = std::move(text);
  return true;
}

void TerminalEditWindow::pushButton(int index) {
  const ui::TouchButton& b = setup_.buttons[static_cast<std::size_t>(index)];
  if (b.key != 0) {
    (void)keys_.push(static_cast<ui::KeyCode>(b.key));
  } else if (setup_.actionKeys) {
    setup_.actionKeys();
  }
}

void TerminalEditWindow::onEvent(const InputEvent& e) {
  if (e.rightButton) {
    const bool onButtons = hasTouchRow() && e.row == term_.rows();
    const bool onTitle = hasTitleRow() && e.row == 1;
    if (setup_.productionLevel >= kMouseLevel && !onButtons && !onTitle && setup_.hierarchyMenu) setup_.hierarchyMenu();
    return;
  }
  switch (e.key) {
    case k::kMouseClick:
    case k::kMouseDoubleClick:
    case k::kMouseRelease:
      if (setup_.productionLevel < kMouseLevel) return;
      if (hasTouchRow() && e.row == term_.rows()) {
        // The buttons' row is no part of the grid: only presses on a button count.
        if (e.key == k::kMouseRelease) return;
        if (int i = touchButtonAt(layoutTouchButtons(setup_.buttons, term_.cols()), e.col); i >= 0) pushButton(i);
        return;
      }
      if (hasTitleRow() && e.row == 1) return;  // the title bar is no cell
      (void)keys_.pushMouse(e.key, e.row - (hasTitleRow() ? 1 : 0), e.col);
      return;
    case k::kWheelForward:
    case k::kWheelBack:
      if (setup_.productionLevel >= kMouseLevel) (void)keys_.push(e.key);
      return;
    case k::kF1:
      if (e.functionKey && setup_.keyboardHelp) {
        setup_.keyboardHelp();
        return;
      }
      break;
    case k::kCtrlK:
      if (setup_.productionLevel >= kMouseLevel && setup_.actionKeys) {
        setup_.actionKeys();
        return;
      }
      break;
    default:
      break;
  }
  (void)keys_.push(e.key);
}

}  // namespace tui

#include "edit_window.hpp"

#include <algorithm>

#include "access_text.hpp"
#include "glyphs.hpp"

namespace tui {

namespace k = ui::key;
using shell::MainAction;

std::string editTableLine(const datasets::EditSessionStart& start) {
  return "Table: " + start.tableName + "   Lines: " + std::to_string(start.lineCount);
}

void drawEditWindow(CellGrid& grid, const datasets::EditSessionStart& start) {
  const Rgb ink = paletteRgb(kBlack), paper = paletteRgb(kWhite);
  const Rgb barInk = paletteRgb(kWhite), bar = paletteRgb(kDkBlue);
  grid.fill(Cell{U' ', ink, paper, kAttrNone});
  grid.fillRect(1, 1, 1, grid.cols(), Cell{U' ', barInk, bar, kAttrNone});
  grid.putText(1, 2, glyphsOfUtf8(start.title), barInk, bar, kAttrBold);
  // On a very short screen the hint keeps the last row and the texts give way.
  const int last = grid.rows();
  if (last >= 4) grid.putText(3, 3, glyphsOfUtf8(editTableLine(start)), ink, paper, kAttrBold);
  if (last >= 5 && !start.dataFileName.empty())
    grid.putText(4, 3, glyphsOfUtf8("Data file: " + start.dataFileName), ink, paper);
  if (last >= 2) {
    const Rgb hintPaper = paletteRgb(kLtGray);
    grid.fillRect(last, 1, last, grid.cols(), Cell{U' ', ink, hintPaper, kAttrNone});
    grid.putText(last, 2, glyphsOfUtf8(kEditWindowHint), ink, hintPaper);
  }
}

EditWindow::EditWindow(TerminalHost& host, shell::MainWindow& window)
    : host_(host), window_(window), start_(window.editStart()) {
  start_.level1 = nullptr;  // the table belongs to the session; this window only shows what it was
  overlay_ = [this](CellGrid& grid, CursorState& cursor) {
    drawEditWindow(grid, start_);
    cursor.visible = false;
  };
  shown_.emplace(host_, overlay_);
}

EditWindow::~EditWindow() { close(); }

void EditWindow::close() {
  if (!open_) return;
  open_ = false;
  shown_.reset();
  window_.editWindowClosed();
  host_.refresh();
}

MainAction EditWindow::onEvent(const InputEvent& e) {
  if (!open_) return MainAction::None;
  if (e.key == k::kEscape) {
    close();
    return MainAction::None;
  }
  // Alt+E is the main window's Exit accelerator; the edit window passes it on.
  if (letterOfAlt(e.key) == 'E') return window_.close();
  return MainAction::None;
}

}  // namespace tui

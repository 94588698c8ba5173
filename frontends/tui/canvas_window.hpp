#pragma once
// The canvas window in the terminal: a framed window over the whole screen,
// its title in the top edge, its menu bar on the row below (the main
// window's menu code), and the drawing area inside, where the core's Drawing
// is drawn in braille dots (2 × 4 a cell) with circle labels, scale bars and
// texts written in cells over them. The behaviour (close keys, commands,
// timer, size) is ui::CanvasState's; this file lays out, paints and runs the
// modal loop on the host.
#include <string>
#include <vector>

#include "cell_grid.hpp"
#include "frame.hpp"
#include "menu.hpp"
#include "shell/commands.hpp"
#include "ui/canvas.hpp"
#include "ui/host.hpp"

namespace tui {

class TerminalHost;

struct CanvasWindowLayout {
  CellRect box;     // the frame: the whole screen
  int menuRow = 0;  // the menu bar's row inside the frame, 0 without a menu
  CellRect area;    // the drawing area inside the frame (at least one cell)
};

// The window on a rows × cols screen, with or without a menu bar.
CanvasWindowLayout layoutCanvasWindow(int rows, int cols, bool hasMenu);

// What the core lays the picture out for in area: braille dots, one cell
// row of text four dots high and two dots wide, texts not scalable.
ui::CanvasMetrics canvasMetrics(const CellRect& area);

// The 16-colour ink of a role, and the area's paper.
Rgb canvasInk(ui::Ink ink);
Rgb canvasPaper();

// The window's menu in the form the terminal's menu takes: labels as they
// are, ids as commands (a submenu's 0).
std::vector<shell::MenuItem> canvasMenu(const std::vector<ui::MenuItem>& menu);
// Whether command id can be chosen: an enabled item with that id whose
// submenus are all enabled too.
bool canvasCommandEnabled(const std::vector<ui::MenuItem>& menu, int id);

// Paints drawing into area (cells outside it stay as they are): the braille
// dots of its polylines, lines and circles, then circle labels right of
// their circles, scale bars (├───┤ on the cell row of their y, length / 2
// cells, the label centred in the row above) and texts (cell row y / 4,
// column x / 2), each cut at the area's edges.
void paintDrawing(CellGrid& grid, const CellRect& area, const ui::Drawing& drawing);

// The whole window: frame, title, menu bar (and what menu has open, when
// not null) and the drawing.
void drawCanvasWindow(CellGrid& grid, const CanvasWindowLayout& layout, const std::string& title,
                      const std::vector<shell::MenuItem>& bar, const MenuState* menu, const ui::Drawing& drawing);

// Shows the window desc describes as a layer on host and runs it until it closes:
// F4 and Escape (its close keys) close it, F10, Alt+ a menu's letter
// or a click open the menu and what is chosen goes to the controller, the
// timer runs every desc.timerMs of the platform clock, and a change of the
// terminal's size reaches the controller. When the terminal goes away or a
// signal asks to end, the window ends with 0. Always shown.
ui::Host::CanvasOutcome runTerminalCanvas(TerminalHost& host, const ui::CanvasWindowDesc& desc,
                                          ui::CanvasController& controller);

}  // namespace tui

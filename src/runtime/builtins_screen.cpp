// The display built-ins: texts and numbers written at a cell, clearing, the
// cursor, the screen's size, the beep and the display operation of the shell.
// The key and input built-ins of the same family live in builtins_keys.cpp
// and builtins_input.cpp.
#include <string>

#include "editor/engine.hpp"
#include "editor/screen_draw.hpp"
#include "runtime/fixed_number.hpp"
#include "runtime/run_errors.hpp"
#include "runtime/session_access.hpp"
#include "ui/host.hpp"

namespace runtime {

namespace {

// The display operation of the shell that 82 reaches: the edit window's screen
// drawn anew. Every other operation number does nothing.
constexpr int kDisplayRedraw = 0;

// Writes text at (row, col) in the machine's colours (-1 keeps the screen's),
// leaving the screen's colours and cursor as they were.
void writeAt(Call& c, editor::Engine& e, int row, int col, const std::string& text) {
  ui::Screen& screen = e.screen;
  if (!cellOnScreen(screen, row, col)) {
    c.setStatus(kErrColumnRange);
    c.setNumber(0);
    return;
  }
  const int fg = c.m.textColour >= 0 ? screen.setTextColour(c.m.textColour) : -1;
  const int bg = c.m.backColour >= 0 ? screen.setBackColour(c.m.backColour) : -1;
  const auto cursor = screen.gotoCell(row, col);
  screen.putText(text);
  if (fg >= 0) screen.setTextColour(fg);
  if (bg >= 0) screen.setBackColour(bg);
  // A cursor never placed stays unplaced: gotoCell would clip it onto cell (1, 1).
  if (cursor[0] >= 1 && cursor[1] >= 1) screen.gotoCell(cursor[0], cursor[1]);
  c.setNumber(0);
}

// 105: string x at row y, column z.
void putString(Call& c) {
  editor::Engine* e = sessionOf(c);
  if (!e) return;
  writeAt(c, *e, c.integer(1), c.integer(2), c.text(0));
}

// 106: number x at row y, column z, in width (4th) with decimals (5th).
void putNumber(Call& c) {
  editor::Engine* e = sessionOf(c);
  if (!e) return;
  writeAt(c, *e, c.integer(1), c.integer(2), formatFixed(c.num(0), c.integer(3), c.integer(4)));
}

// 107: the whole screen blank.
void clearWholeScreen(Call& c) {
  editor::Engine* e = sessionOf(c);
  if (!e) return;
  e->screen.clearScreen();
  c.setNumber(0);
}

// 108: the rectangle top x, left y, bottom z, right (4th); both corners must
// be cells of the screen, top-left first.
void clearRect(Call& c) {
  editor::Engine* e = sessionOf(c);
  if (!e) return;
  const int top = c.integer(0), left = c.integer(1), bottom = c.integer(2), right = c.integer(3);
  if (!cellOnScreen(e->screen, top, left) || !cellOnScreen(e->screen, bottom, right) || bottom < top ||
      right < left) {
    c.setStatus(kErrColumnRange);
    c.setNumber(0);
    return;
  }
  e->screen.clearRegion(top, left, bottom, right);
  c.setNumber(0);
}

// 109: the cursor to row x, column y.
void moveCursor(Call& c) {
  editor::Engine* e = sessionOf(c);
  if (!e) return;
  const int row = c.integer(0), col = c.integer(1);
  if (!cellOnScreen(e->screen, row, col)) {
    c.setStatus(kErrColumnRange);
    c.setNumber(0);
    return;
  }
  e->screen.gotoCell(row, col);
  c.setNumber(0);
}

void cursorRow(Call& c) {
  if (editor::Engine* e = sessionOf(c)) c.setNumber(e->screen.row());
}
void cursorColumn(Call& c) {
  if (editor::Engine* e = sessionOf(c)) c.setNumber(e->screen.col());
}
// 112 / 113: the display state's size in cells (bottom row, right column).
void screenRows(Call& c) {
  if (editor::Engine* e = sessionOf(c)) c.setNumber(e->screen.rows());
}
void screenColumns(Call& c) {
  if (editor::Engine* e = sessionOf(c)) c.setNumber(e->screen.cols());
}

// 82: operation 0 draws the current level's screen again (after a program
// drew over it); other operations have nothing to do.
void displayOperation(Call& c) {
  editor::Engine* e = sessionOf(c);
  if (!e) return;
  if (c.integer(0) == kDisplayRedraw && e->level().open()) editor::drawScreen(*e);
  c.setNumber(0);
}

// 83: the system's beep, through the session's host or the run's.
void beep(Call& c) {
  ui::Host* host = c.ctx.engine ? &c.ctx.engine->host : c.ctx.host;
  if (!host) {
    c.setStatus(kErrDataNotOpen);
    c.setNumber(0);
    return;
  }
  host->beep();
  c.setNumber(0);
}

// 93: no operation of the main window can be reached while a program runs
// inside the edit window, so every operation reports "Can't Process".
void shellOperation(Call& c) {
  c.setStatus(kErrCantProcess);
  c.setNumber(0);
}

}  // namespace

void addScreenBuiltins(BuiltinTable& t) {
  addKeyBuiltins(t);
  addInputBuiltins(t);
  t[82] = displayOperation;
  t[83] = beep;
  t[93] = shellOperation;
  t[105] = putString;
  t[106] = putNumber;
  t[107] = clearWholeScreen;
  t[108] = clearRect;
  t[109] = moveCursor;
  t[110] = cursorRow;
  t[111] = cursorColumn;
  t[112] = screenRows;
  t[113] = screenColumns;
}

}  // namespace runtime

#pragma once
// The edit window in the terminal: while it lives it covers the whole
// terminal, beneath every box, form, menu and the scroll window the host
// shows meanwhile. Its top row is the title bar (as a window's caption: the
// application and dataset), the engine's Screen lies below it cell for cell
// (with the touch buttons in the bottom row from production level 2), and
// the input that reaches it becomes key codes in the engine's KeyQueue.
#include <cstdint>
#include <string>
#include <vector>

#include "cell_grid.hpp"
#include "input_event.hpp"
#include "renderer.hpp"
#include "touch_buttons.hpp"
#include "ui/edit_window.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace tui {

class TerminalHost;

class TerminalEditWindow : public ui::EditWindow {
 public:
  // Shows the window on host at once. screen and keys outlive it.
  TerminalEditWindow(TerminalHost& host, ui::Screen& screen, ui::KeyQueue& keys, ui::EditWindowSetup setup);
  // Takes the window off the terminal; the cursor gets its default shape back.
  ~TerminalEditWindow() override;

  bool cellBased() const override { return true; }
  // The terminal's rows (less the title row and the touch buttons' row when
  // there are they) and columns.
  int cellRows() const override;
  int cellColumns() const override;
  // The terminal's columns and rows.
  int clientWidth() const override;
  int clientHeight() const override;
  // One cell per character: {1, 0, 1} whatever is asked.
  ui::FontMetrics useFont(const ui::FontRequest& request) override;
  // The terminal's cells are its own: nothing to set.
  void setCellGeometry(const ui::CellGeometry&) override {}
  // The window lies beneath whatever the host shows over it; nothing to raise.
  void focus() override {}

  // --- the host's side
  // Draws the window over the whole grid and places the cursor.
  void draw(CellGrid& grid, CursorState& cursor) const;
  // One input event that reached the window:
  // - F1 from the keyboard's F1 key calls keyboardHelp instead of being queued;
  // - Ctrl+K from production level 1 calls actionKeys instead of being queued;
  //   (either is queued when its function is empty, so the key is not lost);
  // - from level 1 a click, double click or release is queued with its cell
  //   and the wheel as 0xAAAA / 0xAAAB; a click on a touch button pushes its
  //   key (the "AK" button, key 0, calls actionKeys); below level 1 the mouse
  //   is ignored;
  // - every other key is pushed as it is (the queue drops a sixth waiting key).
  void onEvent(const InputEvent& e);
  // The Screen's change counter, for the host to redraw when it moves.
  std::uint64_t changeCount() const { return screen_.changeCount(); }
  // The key queue holds all it can: further input waits in the host (a fast
  // typist's or a paste's keys are taken as the engine frees room, never dropped).
  bool queueFull() const { return keys_.count() >= ui::KeyQueue::kCapacity; }
  // The terminal went away: every loop of the engine that takes keys ends.
  void abortInput() { keys_.abort(); }

  // Asks the engine for the GPS status line when it is due (about once a
  // second): true when the text changed and the window needs drawing.
  bool refreshStatusLine();

  // True when the bottom row holds the touch buttons.
  bool hasTouchRow() const;
  // True when the top row is the title bar: a window with a title on a
  // terminal of three rows or more.
  bool hasTitleRow() const;

 private:
  void pushButton(int index);

  TerminalHost& term_;
  ui::Screen& screen_;
  ui::KeyQueue& keys_;
  ui::EditWindowSetup setup_;
  std::string statusLine_;
  std::uint64_t statusAsked_ = 0;
  bool statusEverAsked_ = false;
};

}  // namespace tui

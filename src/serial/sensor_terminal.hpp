#pragma once
// The terminal view of a sensor's port (Ctrl+T / Alt+T in a sensor field):
// the screen shows what the instrument sends and keys go to it one byte at a
// time. It runs on the UI thread, polling the port layer in 10 ms steps, so
// the port's reader thread never draws or reads keys.
#include <string>
#include <string_view>
#include <vector>

#include "ui/keys.hpp"

namespace ui {
class Host;
class KeyQueue;
class Screen;
}  // namespace ui

namespace serial {

class PortLayer;

// The texts of the header rows.
inline constexpr std::string_view kTerminalExitRow = "F8/Ctrl+T to Exit";
inline constexpr std::string_view kTerminalEchoRow = "Ctl+E/Alt+E=Echo";
inline constexpr std::string_view kTerminalWrapRow = "Ctl+W/Alt+W=Screen Wrap";
inline constexpr std::string_view kTerminalShortRow = "Alt+E=Echo Alt+W=Screen Wrap";
inline constexpr std::string_view kTerminalStatusRow =
    "Echo: On  Wrap:Off  _______________________________________";
inline constexpr int kTerminalHeaderRows = 4;
inline constexpr int kEchoColumn = 6, kWrapColumn = 16;  // of the status row
// A screen with fewer rows shows the short second row.
inline constexpr int kShortScreenRows = 12;

// The scrolling area below the header rows: the rows it shows, the oldest
// scrolled off the top. Wrap off: a line longer than the area is cut; wrap
// on: it goes on in the next row. CR and LF (and CR LF as one) start a new
// row; other bytes below 32 and 127 are not drawn.
class TerminalArea {
 public:
  TerminalArea(int rows, int cols);
  void put(std::string_view bytes, bool wrap);
  // The rows from the top of the area, each at most cols characters.
  const std::vector<std::string>& rows() const { return rows_; }

 private:
  void newRow();
  int maxRows_, cols_;
  std::vector<std::string> rows_;
  bool afterCr_ = false;
};

// Runs the terminal on an open port: saves the screen, draws the header,
// turns the port's terminal mode on and polls until F8, F4, Ctrl+T, Alt+T
// or the abort code; Alt+E toggles echo, Ctrl+W / Alt+W wrap; any other key
// of 1-255 is sent as one byte (and drawn when echo is on). Then turns the
// mode off, purges the port's input and puts the screen back. Returns the
// key that left (ui::key::kAbort when the session is being shut down), or
// 0 when the port is not open (nothing was shown).
ui::KeyCode runTerminal(ui::Host& host, ui::Screen& screen, ui::KeyQueue& keys, PortLayer& ports, int port);

}  // namespace serial

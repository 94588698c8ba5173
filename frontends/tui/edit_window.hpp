#pragma once
// The edit window in the terminal until the data-entry engine draws it: it
// covers the whole screen with the edit window's title, the level-1 table,
// its line count and data file, and the way back. Escape closes it and tells
// the main window; Alt+E asks whether to leave the program (the main window
// asks about the open edit session). No command of the main window can be
// reached while it is up.
#include <optional>
#include <string>

#include "cell_grid.hpp"
#include "datasets/open_data.hpp"
#include "input_event.hpp"
#include "shell/main_window.hpp"
#include "terminal_host.hpp"

namespace tui {

inline constexpr const char* kEditWindowHint = "Escape: back to the main window";

// "Table: PLOTS   Lines: 0"
std::string editTableLine(const datasets::EditSessionStart& start);

// Paints the edit window over the whole grid: the title bar (row 1), the
// table line, the data file, and the hint on the last row.
void drawEditWindow(CellGrid& grid, const datasets::EditSessionStart& start);

class EditWindow {
 public:
  // Shows the window, as the host's topmost layer, on the session that
  // window.editStart() describes (the main window has just opened it).
  EditWindow(TerminalHost& host, shell::MainWindow& window);
  // Closes the window when it is still open.
  ~EditWindow();
  EditWindow(const EditWindow&) = delete;
  EditWindow& operator=(const EditWindow&) = delete;

  // One input event. Escape closes the window; Alt+E asks the main window to
  // close and returns its answer (Destroy when the user leaves; the edit
  // window then stays open until close()). Every other key is ignored.
  // Returns None except for that answer.
  shell::MainAction onEvent(const InputEvent& e);
  // Takes the window off the screen and tells the main window it has gone
  // (editWindowClosed). Further calls do nothing.
  void close();
  bool isOpen() const { return open_; }
  const datasets::EditSessionStart& start() const { return start_; }

 private:
  TerminalHost& host_;
  shell::MainWindow& window_;
  datasets::EditSessionStart start_;  // kept: the model forgets it when the window goes
  TerminalHost::Overlay overlay_;
  std::optional<TerminalHost::OverlayScope> shown_;
  bool open_ = true;
};

}  // namespace tui

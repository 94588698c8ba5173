#pragma once
// The main window's loop in the terminal, driven by shell::MainWindow: the
// menu bar (F10, a click, or Alt+ a menu's letter), the command-bar buttons
// (clicks, the accelerators Alt+D/A/S/G/H/E, Enter for the first), the
// status lines and clock, and the model's one-second timer. When a command
// opens the edit window, the loop's input goes to it until it closes; the
// timer keeps running. What the model answers decides when the loop ends.
#include <cstdint>
#include <memory>
#include <optional>

#include "edit_window.hpp"
#include "input_event.hpp"
#include "terminal_host.hpp"
#include "shell/main_window.hpp"

namespace tui {

class MainLoop {
 public:
  static constexpr int kTimerMs = 1000;

  // Sets the host's painter to the main screen of window.
  MainLoop(TerminalHost& host, shell::MainWindow& window);

  // Closes the edit window if it is still open.
  ~MainLoop();

  // Runs until the window is destroyed or the program is ended (the action
  // that ended it), or the terminal went away or a signal came (None). An
  // edit window still open then is closed (the model is told).
  shell::MainAction run();

  // One input event: to the edit window while it is open, else to the main
  // window. A command that opens the edit window opens it here (None is
  // returned).
  shell::MainAction onEvent(const InputEvent& e);
  // Opens top-level menu top and runs it until it closes; the action of the
  // command chosen, if any.
  shell::MainAction runMenu(int top);
  // The status lines now.
  shell::StatusLines status() const;
  // The edit window while it is open, else null.
  const EditWindow* editWindow() const { return edit_.get(); }

 private:
  shell::MainAction mainEvent(const InputEvent& e);
  // Opens the edit window when a command asked for it (then None).
  shell::MainAction afterCommand(shell::MainAction a);
  void closeEditWindow();

  TerminalHost& host_;
  shell::MainWindow& window_;
  int pressed_ = -1;  // the command-bar button drawn pushed in while its command runs
  std::unique_ptr<EditWindow> edit_;
};

}  // namespace tui

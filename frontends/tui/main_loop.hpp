#pragma once
// The main window's loop in the terminal, driven by shell::MainWindow: the
// menu bar (F10, a click, or Alt+ a menu's letter), the command-bar buttons
// (clicks, the accelerators Alt+D/A/S/G/H/E, Enter for the first), the
// status lines and clock, and the model's one-second timer. Collect Data
// runs the edit session inside the command (the engine's loop pumps the
// host); the timer keeps running meanwhile through the host's ticker. What
// the model answers decides when the loop ends.
#include <cstdint>
#include <memory>
#include <optional>

#include "input_event.hpp"
#include "terminal_host.hpp"
#include "shell/main_window.hpp"

namespace tui {

class MainLoop {
 public:
  static constexpr int kTimerMs = 1000;

  // Sets the host's painter to the main screen of window.
  MainLoop(TerminalHost& host, shell::MainWindow& window);

  ~MainLoop();

  // Runs until the window is destroyed or the program is ended (the action
  // that ended it), or the terminal went away or a signal came (None).
  shell::MainAction run();

  // One input event for the main window.
  shell::MainAction onEvent(const InputEvent& e);
  // Opens top-level menu top and runs it until it closes; the action of the
  // command chosen, if any.
  shell::MainAction runMenu(int top);
  // The status lines now.
  shell::StatusLines status() const;

 private:
  shell::MainAction mainEvent(const InputEvent& e);

  TerminalHost& host_;
  shell::MainWindow& window_;
  int pressed_ = -1;  // the command-bar button drawn pushed in while its command runs
};

}  // namespace tui

#pragma once
// The commands of the edit window's dispatcher and the keys that give them.
// Several keys give one command (F5, Ctrl+5, Ctrl+Y and Alt+Y all advance
// to the child level); the dispatcher acts on the command.
#include "ui/keys.hpp"

namespace editor {

enum class Command {
  None,           // an unknown key: nothing happens
  Help,           // F1, Alt+H
  DataLimits,     // F2
  ChooseFromList, // Alt+E
  Search,         // F3, Ctrl+F
  CheckAndLeave,  // F4, Ctrl+X, Alt+X
  Child,          // F5, Ctrl+Y, Alt+Y
  Sibling,        // Alt+F5, Ctrl+Z, Alt+Z
  GoToLine,       // F6, Ctrl+L
  GlobalPrograms, // F7
  LevelPrograms,  // F8
  InsertLine,     // F9, Alt+I
  DeleteLine,     // F10, Alt+D
  Leave,          // Escape
  DateFromClock,  // Ctrl+D
  TimeFromClock,  // Ctrl+T
  AutoEntry,      // Ctrl+R, Alt+R
  GpsLog,         // Ctrl+G, Alt+G
  Navigation,     // Ctrl+N, Alt+N
  CopyAbove,      // Ctrl+Enter
  Enter,          // Enter
  Right,          // Right
  Left,           // Left
  Up,             // Up, wheel forward
  Down,           // Down, wheel back
  ScreenRight,    // Tab, Ctrl+Right
  ScreenLeft,     // Shift+Tab, Ctrl+Left
  Home,
  End,
  PageUp,         // PageUp, Ctrl+Up
  PageDown,       // PageDown, Ctrl+Down
  FirstLine,      // Ctrl+PageUp
  LastLine,       // Ctrl+PageDown
  FirstCell,      // Ctrl+Home
  LastCell,       // Ctrl+End
  Click,          // mouse click (513), double click (515)
  Refresh,        // the refresh code
};

// The command of an exit key.
Command commandOf(ui::KeyCode key);

// Whether the command leaves the current line, by display type (the
// field-exit program does not run for an unchanged line left this way).
bool leavesLine(ui::KeyCode key, bool virtualDisplay);

}  // namespace editor

#pragma once
// The edit window's key table as both front ends must give it: a key as a
// user presses it and the code it must become. The terminal tests turn each
// name into the bytes an xterm sends, the Windows tests into virtual keys
// with their modifier key presses; both must give the same code.
//
// Names: modifiers "Ctrl+", "Alt+", "Shift+" (in that order) before one key:
// a letter a-z, a digit, a printable punctuation character, F1-F12, Up, Down,
// Left, Right, Home, End, PageUp, PageDown, Insert, Delete, Enter, Tab,
// Escape, Backspace or Space.
#include <vector>

#include "ui/keys.hpp"

namespace testing_support {

struct KeyCase {
  const char* name;
  ui::KeyCode code;
};

inline const std::vector<KeyCase>& sharedKeyCases() {
  namespace k = ui::key;
  static const std::vector<KeyCase> cases = {
      {"a", 'a'},
      {"Shift+a", 'A'},
      {"z", 'z'},
      {"5", '5'},
      {"Shift+1", '!'},
      {"Shift+5", '%'},
      {"Shift+0", ')'},
      {"-", '-'},
      {"Shift+-", '_'},
      {"/", '/'},
      {".", '.'},
      {"Shift+;", ':'},
      {"Space", ' '},
      {"Ctrl+a", 1},
      {"Ctrl+c", 3},
      {"Ctrl+d", 4},
      {"Ctrl+e", 5},
      {"Ctrl+k", 11},
      {"Ctrl+t", 20},
      {"Ctrl+v", 22},
      {"Ctrl+z", 26},
      {"Alt+a", 0x1E00},
      {"Alt+d", 0x2000},
      {"Alt+e", 0x1200},
      {"Alt+h", 0x2300},
      {"Alt+x", 0x2D00},
      {"Alt+y", 0x1500},
      {"Alt+z", 0x2C00},
      {"Ctrl+1", k::kF1},
      {"Ctrl+5", k::kF5},
      {"Ctrl+9", k::kF9},
      {"Ctrl+0", k::kF10},
      {"Alt+1", k::kAltF1},
      {"Alt+5", 0x6C00},
      {"Alt+0", 0x7100},
      {"F1", k::kF1},
      {"F2", k::kF2},
      {"F7", 0x4100},
      {"F10", k::kF10},
      {"F11", k::kF11},
      {"F12", k::kF12},
      {"Shift+F1", k::kShiftF1},
      {"Shift+F10", 0x5D00},
      {"Shift+F12", 0x5D00},
      {"Ctrl+F2", 0x5F00},
      {"Ctrl+F12", k::kCtrlF12},
      {"Alt+F5", 0x6C00},
      {"Alt+F12", k::kAltF12},
      {"Up", k::kUp},
      {"Down", k::kDown},
      {"Left", k::kLeft},
      {"Right", k::kRight},
      {"Home", k::kHome},
      {"End", k::kEnd},
      {"PageUp", k::kPageUp},
      {"PageDown", k::kPageDown},
      {"Ctrl+Up", k::kCtrlUp},
      {"Ctrl+Down", k::kCtrlDown},
      {"Ctrl+Left", k::kCtrlLeft},
      {"Ctrl+Right", k::kCtrlRight},
      {"Ctrl+Home", k::kCtrlHome},
      {"Ctrl+End", k::kCtrlEnd},
      {"Ctrl+PageUp", k::kCtrlPageUp},
      {"Ctrl+PageDown", k::kCtrlPageDown},
      {"Insert", k::kInsert},
      {"Ctrl+Insert", k::kCtrlInsert},
      {"Alt+Insert", k::kAltInsert},
      {"Shift+Insert", k::kShiftInsert},
      {"Delete", k::kDelete},
      {"Enter", k::kEnter},
      {"Ctrl+Enter", k::kCtrlEnter},
      {"Tab", k::kTab},
      {"Shift+Tab", k::kShiftTab},
      {"Escape", k::kEscape},
      {"Backspace", k::kBackspace},
  };
  return cases;
}

}  // namespace testing_support

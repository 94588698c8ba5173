#pragma once
// The keyboard rules of the edit window applied to what a terminal reports:
// a named key or a character, with Shift, Ctrl and Alt, becomes one key code.
#include "ui/keys.hpp"

namespace tui {

struct Modifiers {
  bool shift = false, alt = false, ctrl = false, capsLock = false;
};

// The modifier parameter of xterm-style sequences: 1 + the sum of Shift 1,
// Alt 2, Ctrl 4, Meta 8 (taken as Alt) and Caps Lock 64; 0 or 1 means none.
Modifiers modifiersFromParam(int param);

enum class NamedKey { kUp, kDown, kLeft, kRight, kHome, kEnd, kPageUp, kPageDown, kInsert, kDelete };

// Cursor and editing keys: Ctrl gives the Ctrl codes where the table has one;
// Insert also has Shift and Alt codes; other combinations give the plain key.
ui::KeyCode namedKeyCode(NamedKey key, Modifiers m);

// F1-F12; Alt wins over Ctrl, Ctrl over Shift. 0 for n outside 1-12.
ui::KeyCode functionKeyCode(int n, Modifiers m);

// A character key with modifiers. Enter is 13 (10 with Ctrl), Backspace and
// DEL are 8, Shift+Tab has its own code; Ctrl+digit is that function key
// (0 = F10), Alt+digit the Alt function key; Ctrl+letter 1-26, Alt+letter its
// scan code; Shift gives the US-layout symbol of digits and punctuation.
// Other characters become their Windows-1252 byte. Returns 0 when the
// combination has no key code (it is then dropped).
ui::KeyCode characterKeyCode(char32_t c, Modifiers m);

}  // namespace tui

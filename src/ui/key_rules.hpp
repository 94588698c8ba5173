#pragma once
// The keyboard rules of the edit window: a named key or a character, with
// Shift, Ctrl and Alt, becomes one key code. Both front ends map their native
// input (Win32 virtual keys, terminal sequences) onto these and nothing else,
// so the same key gives the same code everywhere.
#include "ui/keys.hpp"

namespace ui {

struct Modifiers {
  bool shift = false, alt = false, ctrl = false, capsLock = false;
};

enum class NamedKey { kUp, kDown, kLeft, kRight, kHome, kEnd, kPageUp, kPageDown, kInsert, kDelete };

// Cursor and editing keys: Ctrl gives the Ctrl codes where the table has one;
// Insert also has Shift and Alt codes; other combinations give the plain key.
KeyCode namedKeyCode(NamedKey key, Modifiers m);

// F1-F12; Alt wins over Ctrl, Ctrl over Shift. 0 for n outside 1-12.
KeyCode functionKeyCode(int n, Modifiers m);

// A character key with modifiers. Enter is 13 (10 with Ctrl), Backspace and
// DEL are 8, Shift+Tab has its own code; Ctrl+digit is that function key
// (0 = F10), Alt+digit the Alt function key; Ctrl+letter 1-26, Alt+letter its
// scan code; Shift gives the US-layout symbol of digits and punctuation.
// Other characters become their Windows-1252 byte (the number pad's
// operators are the characters * + - . /). Returns 0 when the
// combination has no key code (it is then dropped).
KeyCode characterKeyCode(char32_t c, Modifiers m);

}  // namespace ui

#include "key_map.hpp"

#include <string_view>

#include "glyphs.hpp"

namespace tui {

namespace k = ui::key;

Modifiers modifiersFromParam(int param) {
  Modifiers m;
  if (param <= 1) return m;
  int bits = param - 1;
  m.shift = bits & 1;
  m.alt = (bits & 2) || (bits & 8);
  m.ctrl = bits & 4;
  m.capsLock = bits & 64;
  return m;
}

ui::KeyCode namedKeyCode(NamedKey key, Modifiers m) {
  switch (key) {
    case NamedKey::kUp: return m.ctrl ? k::kCtrlUp : k::kUp;
    case NamedKey::kDown: return m.ctrl ? k::kCtrlDown : k::kDown;
    case NamedKey::kLeft: return m.ctrl ? k::kCtrlLeft : k::kLeft;
    case NamedKey::kRight: return m.ctrl ? k::kCtrlRight : k::kRight;
    case NamedKey::kHome: return m.ctrl ? k::kCtrlHome : k::kHome;
    case NamedKey::kEnd: return m.ctrl ? k::kCtrlEnd : k::kEnd;
    case NamedKey::kPageUp: return m.ctrl ? k::kCtrlPageUp : k::kPageUp;
    case NamedKey::kPageDown: return m.ctrl ? k::kCtrlPageDown : k::kPageDown;
    case NamedKey::kInsert:
      if (m.alt) return k::kAltInsert;
      if (m.ctrl) return k::kCtrlInsert;
      if (m.shift) return k::kShiftInsert;
      return k::kInsert;
    case NamedKey::kDelete: return k::kDelete;
  }
  return 0;
}

ui::KeyCode functionKeyCode(int n, Modifiers m) {
  if (m.alt) return k::altFunction(n);
  if (m.ctrl) return k::ctrlFunction(n);
  if (m.shift) return k::shiftFunction(n);
  return k::function(n);
}

namespace {

// The US layout: each unshifted key and what Shift makes of it.
constexpr std::string_view kUnshifted = "1234567890`-=[]\\;',./";
constexpr std::string_view kShifted = "!@#$%^&*()~_+{}|:\"<>?";

}  // namespace

ui::KeyCode characterKeyCode(char32_t c, Modifiers m) {
  switch (c) {
    case 0: return 0;
    case 13: return m.ctrl ? k::kCtrlEnter : k::kEnter;
    case 9: return m.shift ? k::kShiftTab : k::kTab;
    case 27: return k::kEscape;
    case 8:
    case 127: return k::kBackspace;
    default: break;
  }
  if (c >= '0' && c <= '9') {
    int n = c == '0' ? 10 : static_cast<int>(c - '0');
    if (m.alt) return k::altFunction(n);
    if (m.ctrl) return k::function(n);
    if (m.shift) return static_cast<ui::KeyCode>(kShifted[kUnshifted.find(static_cast<char>(c))]);
    return static_cast<ui::KeyCode>(c);
  }
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
    char letter = static_cast<char>(c);
    if (m.alt) return k::altLetter(letter);
    if (m.ctrl) return k::ctrlLetter(letter);
    // A reported Shift or Caps Lock decides the case; the two cancel out.
    if (m.shift || m.capsLock) {
      bool upper = m.shift != m.capsLock;
      char lower = static_cast<char>(letter | 0x20);
      return static_cast<ui::KeyCode>(upper ? lower - 0x20 : lower);
    }
    return static_cast<ui::KeyCode>(letter);
  }
  if (c < 0x20) return static_cast<ui::KeyCode>(c);  // a control character as typed
  if (c == ' ') return ' ';
  if (c < 0x7F) {
    if (m.alt) return 0;
    if (m.ctrl) {
      // Ctrl with [ \ ] ^ _ types their control characters; other punctuation types nothing.
      if (c == '[' || c == '\\' || c == ']' || c == '^' || c == '_') return static_cast<ui::KeyCode>(c & 0x1F);
      return 0;
    }
    if (m.shift) {
      std::size_t at = kUnshifted.find(static_cast<char>(c));
      if (at != std::string_view::npos) return static_cast<ui::KeyCode>(kShifted[at]);
    }
    return static_cast<ui::KeyCode>(c);
  }
  if (m.alt || m.ctrl) return 0;
  int b = cp1252Of(c);
  return b < 0 ? 0 : static_cast<ui::KeyCode>(b);
}

}  // namespace tui

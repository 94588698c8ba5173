#include "ui/key_rules.hpp"

#include <string>
#include <string_view>

#include "platform/codepage.hpp"

namespace ui {

namespace k = key;

KeyCode namedKeyCode(NamedKey key, Modifiers m) {
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

KeyCode functionKeyCode(int n, Modifiers m) {
  if (m.alt) return k::altFunction(n);
  if (m.ctrl) return k::ctrlFunction(n);
  if (m.shift) return k::shiftFunction(n);
  return k::function(n);
}

namespace {

// The Windows-1252 byte of a character, or -1 when the code page lacks it.
int cp1252Of(char32_t c) {
  std::string utf8;
  if (c < 0x80) return static_cast<int>(c);
  if (c < 0x800) {
    utf8 += static_cast<char>(0xC0 | (c >> 6));
  } else if (c < 0x10000) {
    utf8 += static_cast<char>(0xE0 | (c >> 12));
    utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  } else {
    return -1;
  }
  utf8 += static_cast<char>(0x80 | (c & 0x3F));
  std::string b = platform::utf8ToCp1252(utf8);
  if (b.size() != 1 || b[0] == '?') return -1;
  return static_cast<unsigned char>(b[0]);
}

// The US layout: each unshifted key and what Shift makes of it.
constexpr std::string_view kUnshifted = "1234567890`-=[]\\;',./";
constexpr std::string_view kShifted = "!@#$%^&*()~_+{}|:\"<>?";

}  // namespace

KeyCode characterKeyCode(char32_t c, Modifiers m) {
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
    if (m.shift) return static_cast<KeyCode>(kShifted[kUnshifted.find(static_cast<char>(c))]);
    return static_cast<KeyCode>(c);
  }
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
    char letter = static_cast<char>(c);
    if (m.alt) return k::altLetter(letter);
    if (m.ctrl) return k::ctrlLetter(letter);
    // A reported Shift or Caps Lock decides the case; the two cancel out.
    if (m.shift || m.capsLock) {
      bool upper = m.shift != m.capsLock;
      char lower = static_cast<char>(letter | 0x20);
      return static_cast<KeyCode>(upper ? lower - 0x20 : lower);
    }
    return static_cast<KeyCode>(letter);
  }
  if (c < 0x20) return static_cast<KeyCode>(c);  // a control character as typed
  if (c == ' ') return ' ';
  if (c < 0x7F) {
    if (m.alt) return 0;
    if (m.ctrl) {
      // Ctrl with [ \ ] ^ _ types their control characters; other punctuation types nothing.
      if (c == '[' || c == '\\' || c == ']' || c == '^' || c == '_') return static_cast<KeyCode>(c & 0x1F);
      return 0;
    }
    if (m.shift) {
      std::size_t at = kUnshifted.find(static_cast<char>(c));
      if (at != std::string_view::npos) return static_cast<KeyCode>(kShifted[at]);
    }
    return static_cast<KeyCode>(c);
  }
  if (m.alt || m.ctrl) return 0;
  int b = cp1252Of(c);
  return b < 0 ? 0 : static_cast<KeyCode>(b);
}

}  // namespace ui

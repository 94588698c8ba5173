#include "edit_keys.hpp"

#include <string>

#include "platform/win32/wide.hpp"

namespace frontend {

namespace {

bool held(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// The US layout's unshifted character of a punctuation key, or 0.
char usPunctuation(WPARAM vk) {
  switch (vk) {
    case VK_OEM_1: return ';';
    case VK_OEM_PLUS: return '=';
    case VK_OEM_COMMA: return ',';
    case VK_OEM_MINUS: return '-';
    case VK_OEM_PERIOD: return '.';
    case VK_OEM_2: return '/';
    case VK_OEM_3: return '`';
    case VK_OEM_4: return '[';
    case VK_OEM_5: return '\\';
    case VK_OEM_6: return ']';
    case VK_OEM_7: return '\'';
    default: return 0;
  }
}

// The number pad's operators, the same characters on every layout.
char numberPadOperator(WPARAM vk) {
  switch (vk) {
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    default: return 0;
  }
}

bool namedKey(WPARAM vk, ui::NamedKey& out) {
  using N = ui::NamedKey;
  switch (vk) {
    case VK_UP: out = N::kUp; return true;
    case VK_DOWN: out = N::kDown; return true;
    case VK_LEFT: out = N::kLeft; return true;
    case VK_RIGHT: out = N::kRight; return true;
    case VK_HOME: out = N::kHome; return true;
    case VK_END: out = N::kEnd; return true;
    case VK_PRIOR: out = N::kPageUp; return true;
    case VK_NEXT: out = N::kPageDown; return true;
    case VK_INSERT: out = N::kInsert; return true;
    // The Clear key (number pad 5 without Num Lock) is Delete.
    case VK_DELETE:
    case VK_CLEAR: out = N::kDelete; return true;
    default: return false;
  }
}

}  // namespace

ui::Modifiers EditKeys::modifiers() const {
  ui::Modifiers m;
  m.shift = shift_ || held(VK_SHIFT);
  m.ctrl = ctrl_ || held(VK_CONTROL);
  m.alt = alt_ || held(VK_MENU);
  return m;
}

EditKeys::Translation EditKeys::translate(WPARAM vk, ui::Modifiers m) {
  if (vk >= VK_F1 && vk <= VK_F12) return {true, ui::functionKeyCode(static_cast<int>(vk - VK_F1) + 1, m)};
  ui::NamedKey named;
  if (namedKey(vk, named)) return {true, ui::namedKeyCode(named, m)};
  switch (vk) {
    case VK_RETURN: return {true, ui::characterKeyCode(13, m)};
    case VK_TAB: return {true, ui::characterKeyCode(9, m)};
    case VK_ESCAPE: return {true, ui::key::kEscape};
    case VK_BACK: return {true, ui::key::kBackspace};
    default: break;
  }
  if (vk >= '0' && vk <= '9') {
    // A plain digit is the character the layout makes of the key.
    if (!(m.shift || m.ctrl || m.alt)) return {};
    return {true, ui::characterKeyCode(static_cast<char32_t>(vk), m)};
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
    // Shift does not change a number-pad digit.
    ui::Modifiers noShift = m;
    noShift.shift = false;
    return {true, ui::characterKeyCode(static_cast<char32_t>('0' + (vk - VK_NUMPAD0)), noShift)};
  }
  if (char op = numberPadOperator(vk)) {
    ui::Modifiers noShift = m;
    noShift.shift = false;
    return {true, ui::characterKeyCode(static_cast<char32_t>(op), noShift)};
  }
  if (vk >= 'A' && vk <= 'Z') {
    // Letters without Ctrl or Alt follow Shift and Caps Lock as Windows types them.
    if (!(m.ctrl || m.alt)) return {};
    return {true, ui::characterKeyCode(static_cast<char32_t>(vk | 0x20), m)};
  }
  if (char p = usPunctuation(vk)) return {true, ui::characterKeyCode(static_cast<char32_t>(p), m)};
  return {};
}

namespace {

// Keys whose character the layout decides (letters, digits of the top row, punctuation).
bool characterKey(WPARAM vk) {
  return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || usPunctuation(vk) != 0 || vk == VK_OEM_102;
}

}  // namespace

ui::KeyCode EditKeys::keyDown(WPARAM vk, bool characterQueued) {
  switch (vk) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT: shift_ = true; return 0;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL: ctrl_ = true; return 0;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU: alt_ = true; return 0;
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL: return 0;
    default: break;
  }
  const ui::Modifiers m = modifiers();
  if (m.ctrl && m.alt && characterQueued && characterKey(vk)) {
    // AltGr with the key types a character ('@', '\\', '{' on many layouts).
    dropChar_ = false;
    return 0;
  }
  Translation t = translate(vk, m);
  dropChar_ = t.handled;
  if (t.handled) reset();
  return t.code;
}

void EditKeys::keyUp(WPARAM vk) {
  switch (vk) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT: shift_ = false; break;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL: ctrl_ = false; break;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU: alt_ = false; break;
    default: break;
  }
}

ui::KeyCode EditKeys::character(wchar_t c) {
  if (dropChar_) {
    dropChar_ = false;
    return 0;
  }
  reset();
  // The character already carries Shift and Caps Lock as the layout applies them.
  if (c < 0x80) return ui::characterKeyCode(static_cast<char32_t>(c), ui::Modifiers{});
  if (c >= 0xD800 && c <= 0xDFFF) return 0;  // outside every 8-bit code page
  std::string b = platform::win32::fromUtf16(std::wstring_view(&c, 1), CP_ACP);
  if (b.size() != 1 || b[0] == '?') return 0;
  return static_cast<unsigned char>(b[0]);
}

void EditKeys::reset() { shift_ = ctrl_ = alt_ = false; }

}  // namespace frontend

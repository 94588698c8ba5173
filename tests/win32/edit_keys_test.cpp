// The edit window's keyboard: every key of the shared key table, sent to the
// window's procedure as the messages Windows sends for it (the modifier's
// key-down, the key's key-down, the character TranslateMessage makes, the
// key-ups), gives exactly the table's code; the number pad; characters
// through the code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "edit_window_fixture.hpp"
#include "support/key_cases.hpp"

namespace {

namespace key = ui::key;

// A key as the user presses it, in the messages it makes.
struct Press {
  bool shift = false, ctrl = false, alt = false;
  WPARAM vk = 0;
  wchar_t ch = 0;  // the character TranslateMessage makes, 0 for none
};

constexpr const char* kUnshifted = "1234567890`-=[]\\;',./";
constexpr const char* kShifted = "!@#$%^&*()~_+{}|:\"<>?";

WPARAM punctuationKey(char c) {
  switch (c) {
    case ';': return VK_OEM_1;
    case '=': return VK_OEM_PLUS;
    case ',': return VK_OEM_COMMA;
    case '-': return VK_OEM_MINUS;
    case '.': return VK_OEM_PERIOD;
    case '/': return VK_OEM_2;
    case '`': return VK_OEM_3;
    case '[': return VK_OEM_4;
    case '\\': return VK_OEM_5;
    case ']': return VK_OEM_6;
    case '\'': return VK_OEM_7;
    default: return 0;
  }
}

// The press a key table name stands for (see key_cases.hpp); vk 0 when the
// name is not understood.
Press pressOf(const std::string& name) {
  Press p;
  std::string rest = name;
  auto eat = [&rest](const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    if (rest.size() <= n || rest.compare(0, n, prefix) != 0) return false;
    rest.erase(0, n);
    return true;
  };
  p.ctrl = eat("Ctrl+");
  p.alt = eat("Alt+");
  p.shift = eat("Shift+");

  struct Named {
    const char* name;
    WPARAM vk;
    wchar_t ch;
  };
  static const Named named[] = {
      {"Up", VK_UP, 0},         {"Down", VK_DOWN, 0},       {"Left", VK_LEFT, 0},
      {"Right", VK_RIGHT, 0},   {"Home", VK_HOME, 0},       {"End", VK_END, 0},
      {"PageUp", VK_PRIOR, 0},  {"PageDown", VK_NEXT, 0},   {"Insert", VK_INSERT, 0},
      {"Delete", VK_DELETE, 0}, {"Enter", VK_RETURN, 13},   {"Tab", VK_TAB, 9},
      {"Escape", VK_ESCAPE, 27}, {"Backspace", VK_BACK, 8}, {"Space", VK_SPACE, L' '},
  };
  for (const Named& n : named) {
    if (rest != n.name) continue;
    p.vk = n.vk;
    p.ch = n.ch;
    if (p.ctrl && n.vk == VK_RETURN) p.ch = 10;
    if (p.ctrl && n.vk == VK_BACK) p.ch = 127;
    return p;
  }
  if (rest.size() >= 2 && rest[0] == 'F') {
    p.vk = static_cast<WPARAM>(VK_F1 + std::stoi(rest.substr(1)) - 1);
    return p;
  }
  if (rest.size() != 1) return Press{};
  const char c = rest[0];
  if (c >= 'a' && c <= 'z') {
    p.vk = static_cast<WPARAM>(c - 'a' + 'A');
    p.ch = p.ctrl ? static_cast<wchar_t>(c & 0x1F) : static_cast<wchar_t>(p.shift && !p.alt ? c - 0x20 : c);
    return p;
  }
  const char* at = std::strchr(kUnshifted, c);
  if (!at) return Press{};
  p.vk = (c >= '0' && c <= '9') ? static_cast<WPARAM>(c) : punctuationKey(c);
  const char typed = p.shift ? kShifted[at - kUnshifted] : c;
  p.ch = p.ctrl ? 0 : static_cast<wchar_t>(typed);
  return p;
}

class EditWindowKeys : public win32_test::EditWindowFixture {
 protected:
  void SetUp() override {
    EditWindowFixture::SetUp();
    if (IsSkipped()) return;
    // No callbacks: F1 and Ctrl+K go into the queue like every other key.
    open();
  }

  static LPARAM keyData(bool alt, bool up) {
    LPARAM l = 1;
    if (alt) l |= LPARAM{1} << 29;
    if (up) l |= static_cast<LPARAM>(0xC0000000u);
    return l;
  }
  // The messages Windows sends for the press, in order.
  void press(const Press& p) {
    if (p.shift) send(WM_KEYDOWN, VK_SHIFT, keyData(false, false));
    if (p.ctrl) send(WM_KEYDOWN, VK_CONTROL, keyData(false, false));
    if (p.alt) send(WM_SYSKEYDOWN, VK_MENU, keyData(true, false));
    const bool sys = p.alt || p.vk == VK_F10;
    send(sys ? WM_SYSKEYDOWN : WM_KEYDOWN, p.vk, keyData(p.alt, false));
    if (p.ch) send(p.alt ? WM_SYSCHAR : WM_CHAR, p.ch, keyData(p.alt, false));
    send(sys ? WM_SYSKEYUP : WM_KEYUP, p.vk, keyData(p.alt, true));
    if (p.alt) send(WM_SYSKEYUP, VK_MENU, keyData(false, true));
    if (p.ctrl) send(WM_KEYUP, VK_CONTROL, keyData(false, true));
    if (p.shift) send(WM_KEYUP, VK_SHIFT, keyData(false, true));
  }
};

TEST_F(EditWindowKeys, EveryKeyOfTheSharedTableGivesItsCode) {
  for (const testing_support::KeyCase& c : testing_support::sharedKeyCases()) {
    Press p = pressOf(c.name);
    ASSERT_NE(p.vk, 0u) << "the test cannot press " << c.name;
    press(p);
    // Ctrl+E comes out of the queue as Escape.
    const ui::KeyCode expected = c.code == 5 ? key::kEscape : c.code;
    EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{expected}) << c.name;
  }
}

TEST_F(EditWindowKeys, NumberPadDigitsWithModifiersAreFunctionKeysAndItsOperatorsTheirCharacters) {
  Press ctrl5{false, true, false, VK_NUMPAD5, 0};
  press(ctrl5);
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{key::kF5});
  Press ctrl0{false, true, false, VK_NUMPAD0, 0};
  press(ctrl0);
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{key::kF10});
  Press plain7{false, false, false, VK_NUMPAD7, L'7'};
  press(plain7);
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{'7'});

  // The decimal key gives '.' even where the layout types ',' for it.
  const struct {
    WPARAM vk;
    wchar_t typed;
    ui::KeyCode code;
  } ops[] = {{VK_MULTIPLY, L'*', '*'}, {VK_ADD, L'+', '+'}, {VK_SUBTRACT, L'-', '-'},
             {VK_DECIMAL, L',', '.'},  {VK_DIVIDE, L'/', '/'}};
  for (const auto& op : ops) {
    press(Press{false, false, false, op.vk, op.typed});
    EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{op.code}) << op.vk;
  }
  // Without Num Lock the middle key is Clear, which is Delete.
  press(Press{false, false, false, VK_CLEAR, 0});
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{key::kDelete});
}

TEST_F(EditWindowKeys, AltWithANumberPadDigitIsAltF5AndTheCharacterWindowsComposesOnAltsReleaseIsDropped) {
  send(WM_SYSKEYDOWN, VK_MENU, keyData(true, false));
  send(WM_SYSKEYDOWN, VK_NUMPAD5, keyData(true, false));
  send(WM_SYSKEYUP, VK_NUMPAD5, keyData(true, true));
  send(WM_KEYUP, VK_MENU, keyData(false, true));
  // Alt+5 on the number pad composes character 5, which would be Ctrl+E (Escape).
  send(WM_CHAR, 5, keyData(false, false));
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{0x6C00});
  // The next key is typed as usual.
  press(Press{false, false, false, 'B', L'b'});
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{'b'});
}

TEST_F(EditWindowKeys, CapsLockIsIgnoredAndLettersComeAsWindowsTypesThem) {
  send(WM_KEYDOWN, VK_CAPITAL, keyData(false, false));
  send(WM_KEYUP, VK_CAPITAL, keyData(false, true));
  EXPECT_EQ(keys_.count(), 0);
  press(Press{false, false, false, 'Q', L'Q'});  // Caps Lock on
  press(Press{true, false, false, 'Q', L'q'});   // and Shift
  EXPECT_EQ(takeAll(), (std::vector<ui::KeyCode>{'Q', 'q'}));
}

TEST_F(EditWindowKeys, CharactersOutsideAsciiGoThroughTheCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "the system code page is " << GetACP() << ", not 1252";
  send(WM_CHAR, 0x00E9, 1);  // é
  send(WM_CHAR, 0x20AC, 1);  // €
  send(WM_CHAR, 0x4E00, 1);  // not in the code page: no key
  EXPECT_EQ(takeAll(), (std::vector<ui::KeyCode>{0xE9, 0x80}));
}

TEST_F(EditWindowKeys, ModifiersAreForgottenWhenTheFocusGoes) {
  send(WM_KEYDOWN, VK_CONTROL, keyData(false, false));
  send(WM_KILLFOCUS, 0, 0);  // Ctrl's key-up goes to another window
  send(WM_SETFOCUS, 0, 0);
  press(Press{false, false, false, '1', L'1'});
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{'1'});
}

}  // namespace

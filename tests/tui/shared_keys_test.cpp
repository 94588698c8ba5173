// Every key of the table both front ends must give, as an xterm sends it:
// the decoder must turn each form into exactly the table's code.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/key_cases.hpp"
#include "tui/key_decoder.hpp"

namespace {

using tui::InputEvent;
using tui::KeyDecoder;

struct Pressed {
  bool ctrl = false, alt = false, shift = false;
  std::string key;
};

// "Ctrl+Alt+Shift+x" split into its modifiers (in that order) and the key.
Pressed parse(std::string_view name) {
  Pressed p;
  auto take = [&](std::string_view prefix, bool& flag) {
    if (name.substr(0, prefix.size()) == prefix && name.size() > prefix.size()) {
      flag = true;
      name.remove_prefix(prefix.size());
    }
  };
  take("Ctrl+", p.ctrl);
  take("Alt+", p.alt);
  take("Shift+", p.shift);
  p.key = std::string(name);
  return p;
}

int modifierParam(const Pressed& p) { return 1 + (p.shift ? 1 : 0) + (p.alt ? 2 : 0) + (p.ctrl ? 4 : 0); }
bool modified(const Pressed& p) { return p.ctrl || p.alt || p.shift; }

const std::string kCsi = "\x1b[";

// The US layout's shifted symbols.
char shifted(char c) {
  constexpr std::string_view plain = "1234567890`-=[]\\;',./", shift = "!@#$%^&*()~_+{}|:\"<>?";
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  std::size_t at = plain.find(c);
  return at == std::string_view::npos ? c : shift[at];
}

// CSI 27;m;k~ (modifyOtherKeys) and CSI k;m u for a character with modifiers.
std::vector<std::string> modifiedCharacter(int code, int mods) {
  return {kCsi + "27;" + std::to_string(mods) + ";" + std::to_string(code) + "~",
          kCsi + std::to_string(code) + ";" + std::to_string(mods) + "u"};
}

// The byte forms an xterm sends for the key (empty when the name is not understood).
std::vector<std::string> xtermForms(const Pressed& p) {
  const int m = modifierParam(p);
  const std::string mods = std::to_string(m);
  struct Letter { const char* name; char final; };
  for (Letter l : {Letter{"Up", 'A'}, {"Down", 'B'}, {"Right", 'C'}, {"Left", 'D'}, {"Home", 'H'}, {"End", 'F'}}) {
    if (p.key != l.name) continue;
    if (modified(p)) return {kCsi + "1;" + mods + l.final};
    return {kCsi + l.final, std::string("\x1bO") + l.final};  // normal and application cursor mode
  }
  struct Tilde { const char* name; int n; };
  for (Tilde t : {Tilde{"PageUp", 5}, {"PageDown", 6}, {"Insert", 2}, {"Delete", 3}, {"F5", 15}, {"F6", 17},
                  {"F7", 18}, {"F8", 19}, {"F9", 20}, {"F10", 21}, {"F11", 23}, {"F12", 24}}) {
    if (p.key != t.name) continue;
    if (modified(p)) return {kCsi + std::to_string(t.n) + ";" + mods + "~"};
    return {kCsi + std::to_string(t.n) + "~"};
  }
  for (int f = 1; f <= 4; ++f) {
    if (p.key != "F" + std::to_string(f)) continue;
    const char final = static_cast<char>('P' + f - 1);
    if (modified(p)) return {kCsi + "1;" + mods + final};
    return {std::string("\x1bO") + final};
  }
  if (p.key == "Enter") return modified(p) ? modifiedCharacter(13, m) : std::vector<std::string>{"\r"};
  if (p.key == "Tab") {
    if (p.shift && !p.ctrl && !p.alt) return {kCsi + "Z", kCsi + "27;2;9~", kCsi + "9;2u"};
    return modified(p) ? modifiedCharacter(9, m) : std::vector<std::string>{"\t"};
  }
  if (p.key == "Escape" && !modified(p)) return {"\x1b"};
  if (p.key == "Backspace" && !modified(p)) return {"\x7f", "\x08"};
  if (p.key == "Space" && !modified(p)) return {" "};
  if (p.key.size() != 1 || p.key[0] <= ' ' || p.key[0] > '~') return {};

  const char c = p.key[0];
  const int code = static_cast<unsigned char>(c);
  if (!modified(p)) return {std::string(1, c)};
  if (p.shift && !p.ctrl && !p.alt) {
    // The terminal types what Shift makes of the key; modifyOtherKeys 2 reports it with Shift.
    const char s = shifted(c);
    return {std::string(1, s), kCsi + "27;2;" + std::to_string(static_cast<unsigned char>(s)) + "~"};
  }
  std::vector<std::string> forms = modifiedCharacter(code, m);
  const bool letter = c >= 'a' && c <= 'z';
  const bool digit = c >= '0' && c <= '9';
  if (p.ctrl && !p.alt && !p.shift && letter) forms.push_back(std::string(1, static_cast<char>(c & 0x1F)));
  if (p.alt && !p.ctrl && !p.shift && (letter || digit)) forms.push_back(std::string("\x1b") + c);
  return forms;
}

std::vector<ui::KeyCode> keysOf(const std::vector<InputEvent>& events) {
  std::vector<ui::KeyCode> out;
  for (const InputEvent& e : events) out.push_back(e.key);
  return out;
}

// Decodes bytes fed whole, or one byte at a time; a lone ESC waits for the time-out.
std::vector<ui::KeyCode> decode(const std::string& bytes, bool bytewise) {
  KeyDecoder d;
  std::vector<InputEvent> out;
  if (bytewise) {
    for (char b : bytes) d.feed(std::string_view(&b, 1), 0, out);
  } else {
    d.feed(bytes, 0, out);
  }
  if (d.pending()) d.timeOut(out);
  return keysOf(out);
}

std::string printable(const std::string& bytes) {
  std::string out;
  for (unsigned char b : bytes) {
    if (b == 0x1B) out += "ESC";
    else if (b < 0x20 || b == 0x7F) out += "^" + std::to_string(b);
    else out += static_cast<char>(b);
    out += ' ';
  }
  return out;
}

TEST(SharedKeys, EveryFormAnXtermSendsGivesTheTablesCode) {
  const auto& cases = testing_support::sharedKeyCases();
  ASSERT_FALSE(cases.empty());
  for (const testing_support::KeyCase& c : cases) {
    std::vector<std::string> forms = xtermForms(parse(c.name));
    ASSERT_FALSE(forms.empty()) << "no xterm form for " << c.name;
    for (const std::string& bytes : forms) {
      EXPECT_EQ(decode(bytes, false), std::vector<ui::KeyCode>{c.code}) << c.name << " as " << printable(bytes);
      EXPECT_EQ(decode(bytes, true), std::vector<ui::KeyCode>{c.code}) << c.name << " byte by byte";
    }
  }
}

}  // namespace

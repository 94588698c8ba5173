#include "access_text.hpp"

#include "glyphs.hpp"

namespace tui {

namespace {
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
}  // namespace

AccessText accessText(std::string_view utf8) {
  AccessText out;
  std::string plain;
  std::size_t letterAt = std::string::npos;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '&' && i + 1 < utf8.size()) {
      ++i;
      if (utf8[i] != '&' && letterAt == std::string::npos) letterAt = plain.size();
    }
    plain.push_back(utf8[i]);
  }
  out.text = glyphsOfUtf8(plain);
  if (letterAt != std::string::npos) {
    out.underline = static_cast<int>(glyphsOfUtf8(plain.substr(0, letterAt)).size());
    unsigned char c = static_cast<unsigned char>(plain[letterAt]);
    if (c < 0x80 && c > 0x20) out.letter = upper(static_cast<char>(c));
    if (out.underline >= static_cast<int>(out.text.size())) out.underline = -1;
  }
  return out;
}

char letterOfAlt(ui::KeyCode key) {
  if ((key & 0xFF) != 0 || key == 0) return 0;
  for (char c = 'A'; c <= 'Z'; ++c)
    if (ui::key::altLetter(c) == key) return c;
  return 0;
}

bool picks(const AccessText& label, ui::KeyCode key, bool plain) {
  if (label.letter == 0) return false;
  if (char a = letterOfAlt(key)) return a == label.letter;
  if (!plain || key >= 0x80 || key <= 0x20) return false;
  return upper(static_cast<char>(key)) == label.letter;
}

}  // namespace tui

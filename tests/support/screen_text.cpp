#include "support/screen_text.hpp"

#include <string_view>

#include "platform/codepage.hpp"

namespace testing_support {

namespace {

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The UTF-8 of one Windows-1252 byte, or "" for a control character (C0,
// DEL, and the bytes the conversion gives as C1 controls).
std::string glyph(unsigned char b) {
  if (b < 0x20 || b == 0x7F) return {};
  const char byte = static_cast<char>(b);
  std::string utf8 = platform::cp1252ToUtf8(std::string_view(&byte, 1));
  // U+0080-U+009F are C2 80 - C2 9F in UTF-8.
  if (utf8.size() == 2 && static_cast<unsigned char>(utf8[0]) == 0xC2 &&
      static_cast<unsigned char>(utf8[1]) <= 0x9F)
    return {};
  return utf8;
}

}  // namespace

std::string screenRow(const ui::Screen& screen, int row) {
  if (row < 1 || row > screen.rows()) return {};
  std::string out;
  for (int c = 1; c <= screen.cols(); ++c) {
    const ui::ScreenCell& cell = screen.at(row, c);
    std::string g = glyph(cell.ch);
    if (g.empty() || g == " ") {
      char32_t frame = ui::frameGlyph(cell.frame);
      if (frame != 0) appendUtf8(out, frame);
      else out += ' ';
    } else {
      out += g;
    }
  }
  return out;
}

std::vector<std::string> screenText(const ui::Screen& screen, bool trimRight) {
  std::vector<std::string> lines;
  for (int r = 1; r <= screen.rows(); ++r) {
    std::string line = screenRow(screen, r);
    if (trimRight) line.erase(line.find_last_not_of(' ') + 1);
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace testing_support

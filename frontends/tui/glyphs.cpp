#include "glyphs.hpp"

#include <array>

#include "platform/codepage.hpp"
#include "utf8.hpp"

namespace tui {

namespace {

char32_t decodeOne(std::string_view utf8) {
  Utf8Decoder d;
  char32_t c = U'?';
  for (char b : utf8)
    if (d.feed(static_cast<unsigned char>(b), c) == Utf8Decoder::kDone) return c;
  return U'?';
}

// Built once from the platform's own conversion, so there is one code page table.
const std::array<char32_t, 256>& glyphTable() {
  static const std::array<char32_t, 256> table = [] {
    std::array<char32_t, 256> t{};
    for (int i = 0; i < 256; ++i) {
      char byte = static_cast<char>(i);
      t[static_cast<std::size_t>(i)] =
          displayable(decodeOne(platform::cp1252ToUtf8(std::string_view(&byte, 1))));
    }
    return t;
  }();
  return table;
}

}  // namespace

char32_t displayable(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return U' ';
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return U'?';
  return c;
}

char32_t glyphOf(unsigned char c) { return glyphTable()[c]; }

std::u32string glyphsOf(std::string_view cp1252) {
  std::u32string out;
  out.reserve(cp1252.size());
  for (char b : cp1252) out.push_back(glyphOf(static_cast<unsigned char>(b)));
  return out;
}

std::u32string glyphsOfUtf8(std::string_view utf8) { return glyphsOf(platform::utf8ToCp1252(utf8)); }

int cp1252Of(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  std::string utf8;
  appendUtf8(utf8, c);
  std::string narrow = platform::utf8ToCp1252(utf8);
  // The conversion gives '?' for what the code page lacks.
  if (narrow.size() != 1 || narrow[0] == '?') return -1;
  int b = static_cast<unsigned char>(narrow[0]);
  // The unassigned bytes round-trip onto C1 controls; a typed C1 control is no character.
  if (b >= 0x80 && b <= 0x9F && c == static_cast<char32_t>(b)) return -1;
  return b;
}

}  // namespace tui

#include "escapes.hpp"

namespace tui::esc {

namespace {
void appendRgb(std::string& out, Rgb c) {
  out += std::to_string(c.r);
  out += ';';
  out += std::to_string(c.g);
  out += ';';
  out += std::to_string(c.b);
}
}  // namespace

std::string_view cursorStyle(CursorStyle s) {
  switch (s) {
    case CursorStyle::kBlinkingUnderline: return "\x1b[3 q";
    case CursorStyle::kBlinkingBar: return "\x1b[5 q";
    case CursorStyle::kDefault: break;
  }
  return "\x1b[0 q";
}

std::string cursorTo(int row, int col) {
  return "\x1b[" + std::to_string(row) + ';' + std::to_string(col) + 'H';
}

std::string foreground(Rgb c) {
  std::string s = "\x1b[38;2;";
  appendRgb(s, c);
  return s + 'm';
}

std::string background(Rgb c) {
  std::string s = "\x1b[48;2;";
  appendRgb(s, c);
  return s + 'm';
}

std::string style(const Cell& c) {
  std::string s = "\x1b[0";
  if (c.attr & kAttrBold) s += ";1";
  if (c.attr & kAttrUnderline) s += ";4";
  s += ";38;2;";
  appendRgb(s, c.fg);
  s += ";48;2;";
  appendRgb(s, c.bg);
  return s + 'm';
}

std::string_view enterSequence() {
  return "\x1b[?1049h"  // alternate screen
         "\x1b[>4;1m"   // modifyOtherKeys level 1
         "\x1b[?1036h"  // Alt (meta) sends ESC
         "\x1b[?1000h"  // mouse press and release
         "\x1b[?1006h"  // SGR mouse encoding (no column limit)
         "\x1b[?25l";
}

std::string_view leaveSequence() {
  return "\x1b[?1006l"
         "\x1b[?1000l"
         "\x1b[?1036l"
         "\x1b[>4m"  // modifyOtherKeys back to its initial value
         "\x1b[0m"
         "\x1b[0 q"  // the cursor's default shape
         "\x1b[?25h"
         "\x1b[?1049l";
}

}  // namespace tui::esc

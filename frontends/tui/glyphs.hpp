#pragma once
// What a cell shows. Cells hold Unicode code points; the engine's 8-bit text
// is Windows-1252 and is turned into code points here. Control characters
// never reach the terminal: they would be obeyed instead of shown.
#include <string>
#include <string_view>

namespace tui {

// The code point a Windows-1252 byte shows as; control bytes (and the code
// page's five unassigned bytes, which Windows maps onto C1 controls) show as
// a blank.
char32_t glyphOf(unsigned char c);

// 8-bit (Windows-1252) text as code points, one per byte.
std::u32string glyphsOf(std::string_view cp1252);

// UTF-8 text as single-cell code points: every character through the
// Windows-1252 code page ('?' for those it lacks), so each takes one cell.
std::u32string glyphsOfUtf8(std::string_view utf8);

// c itself when it is safe to send; a blank for C0, DEL and C1 controls.
char32_t displayable(char32_t c);

// The Windows-1252 byte of a typed character, or -1 when the code page lacks it.
int cp1252Of(char32_t c);

}  // namespace tui

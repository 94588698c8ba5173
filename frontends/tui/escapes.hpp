#pragma once
// The control sequences the front end writes, as pure functions so tests can
// compare exact bytes. Colours are always 24-bit: the terminal's own palette
// and default colours are never relied on.
#include <string>
#include <string_view>

#include "cell_grid.hpp"
#include "palette.hpp"

namespace tui::esc {

inline constexpr std::string_view kHideCursor = "\x1b[?25l";
inline constexpr std::string_view kShowCursor = "\x1b[?25h";
inline constexpr std::string_view kResetAttributes = "\x1b[0m";
inline constexpr std::string_view kClearScreen = "\x1b[2J";
inline constexpr std::string_view kBell = "\a";

// The terminal's own cursor shape (DECSCUSR): its default, a blinking
// underline or a blinking bar.
enum class CursorStyle { kDefault, kBlinkingUnderline, kBlinkingBar };
// CSI 0 SP q, CSI 3 SP q, CSI 5 SP q.
std::string_view cursorStyle(CursorStyle s);

// CSI row;col H (1-based).
std::string cursorTo(int row, int col);
// CSI 38;2;r;g;b m and CSI 48;2;r;g;b m.
std::string foreground(Rgb c);
std::string background(Rgb c);
// One SGR that sets everything a cell's look needs from a clean state:
// CSI 0[;1][;4];38;2;r;g;b;48;2;r;g;b m.
std::string style(const Cell& c);

// Written at start: the alternate screen, modified keys reported with their
// modifiers (modifyOtherKeys level 1), Alt sending ESC, mouse clicks in the
// SGR encoding, hidden cursor.
std::string_view enterSequence();
// Undoes enterSequence in reverse order, with attributes reset and the cursor
// shown in the terminal's default shape.
std::string_view leaveSequence();

}  // namespace tui::esc

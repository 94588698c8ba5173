#pragma once
// Colours as the terminal is told them: exact RGB, never the terminal's own
// palette, so the program looks the same in every terminal and theme. The
// text display's 16 colours are the core's (ui/palette.hpp); only the main
// window's own background is the front end's.
#include "ui/palette.hpp"

namespace tui {

using ui::Rgb;
using ui::paletteRgb;
using ui::PaletteIndex;
using enum ui::PaletteIndex;

// The main window's background.
inline constexpr Rgb kMainBackground{0, 160, 0};

}  // namespace tui

#pragma once
// Colours as the terminal is told them: exact RGB, never the terminal's own
// palette, so the program looks the same in every terminal and theme.
#include <cstdint>

namespace tui {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The text display's 16 colours by index.
enum PaletteIndex : int {
  kWhite = 0, kRed, kBlue, kGreen, kYellow, kTeal, kPurple, kLtGray,
  kDkGray, kDkRed, kDkBlue, kDkGreen, kDkYellow, kDkTeal, kDkPurple, kBlack,
};

// The RGB of a palette index; indices below 0 give entry 0, above 15 entry 15.
Rgb paletteColour(int index);

// The main window's background.
inline constexpr Rgb kMainBackground{0, 160, 0};

}  // namespace tui

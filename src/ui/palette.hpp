#pragma once
// The text display's 16 colours: exact RGB and the names the colours dialog
// offers. Indices are what callers pass; outside 0-15 they are clamped.
#include <cstdint>

namespace ui {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum PaletteIndex : int {
  kWhite = 0, kRed, kBlue, kGreen, kYellow, kTeal, kPurple, kLtGray,
  kDkGray, kDkRed, kDkBlue, kDkGreen, kDkYellow, kDkTeal, kDkPurple, kBlack,
};
inline constexpr int kPaletteSize = 16;

// Below 0 gives 0, above 15 gives 15.
constexpr int clampColour(int index) { return index < 0 ? 0 : (index > 15 ? 15 : index); }

// The RGB of a (clamped) palette index.
Rgb paletteRgb(int index);
// "White" ... "Black" for a (clamped) palette index.
const char* colourName(int index);

// The pen of frames: the colour value 13 (red 13, green 0, blue 0).
inline constexpr Rgb kFrameRgb{13, 0, 0};

}  // namespace ui

#include "palette.hpp"

#include <array>

namespace tui {

Rgb paletteColour(int index) {
  static constexpr std::array<Rgb, 16> kPalette = {{
      {255, 255, 255}, {255, 0, 0},   {0, 0, 255},   {0, 255, 0},
      {255, 255, 0},   {0, 255, 255}, {255, 0, 255}, {224, 224, 224},
      {128, 128, 128}, {128, 0, 0},   {0, 0, 128},   {0, 96, 0},
      {128, 128, 0},   {0, 128, 128}, {128, 0, 128}, {0, 0, 0},
  }};
  if (index < 0) index = 0;
  if (index > 15) index = 15;
  return kPalette[static_cast<std::size_t>(index)];
}

}  // namespace tui

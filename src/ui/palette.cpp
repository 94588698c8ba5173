#include "ui/palette.hpp"

namespace ui {

namespace {

constexpr Rgb kRgb[kPaletteSize] = {
    {255, 255, 255}, {255, 0, 0},   {0, 0, 255},   {0, 255, 0},   {255, 255, 0}, {0, 255, 255},
    {255, 0, 255},   {224, 224, 224}, {128, 128, 128}, {128, 0, 0}, {0, 0, 128},   {0, 96, 0},
    {128, 128, 0},   {0, 128, 128}, {128, 0, 128}, {0, 0, 0}};

constexpr const char* kNames[kPaletteSize] = {"White",  "Red",    "Blue",     "Green",    "Yellow", "Teal",
                                              "Purple", "LtGray", "DkGray",   "DkRed",    "DkBlue", "DkGreen",
                                              "DkYellow", "DkTeal", "DkPurple", "Black"};

}  // namespace

Rgb paletteRgb(int index) { return kRgb[clampColour(index)]; }
const char* colourName(int index) { return kNames[clampColour(index)]; }

}  // namespace ui

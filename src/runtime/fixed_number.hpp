#pragma once
// A number written as a program asks for it on the screen or the printer:
// right-aligned in a width with a count of decimals.
#include <string>

namespace runtime {

// v with decimals (0-20) decimals, blank-padded on the left to width (0-255)
// characters; arguments outside those ranges are clamped. A number the width
// cannot hold comes out longer. NaN reads as 0 and magnitudes from 1e100 up
// as ±9.9e99, so the text stays within a line.
std::string formatFixed(double v, int width, int decimals);

}  // namespace runtime

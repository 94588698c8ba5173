#include "runtime/fixed_number.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace runtime {

namespace {
constexpr int kMaxWidth = 255;
constexpr int kMaxDecimals = 20;
constexpr double kLargest = 9.9e99;
}  // namespace

std::string formatFixed(double v, int width, int decimals) {
  width = std::clamp(width, 0, kMaxWidth);
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  if (std::isnan(v)) v = 0;
  if (std::fabs(v) >= 1e100) v = std::copysign(kLargest, v);
  // 100 integer digits, a sign, a point and 20 decimals fit; so does any width.
  char buffer[kMaxWidth + 130];
  std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, v);
  return buffer;
}

}  // namespace runtime

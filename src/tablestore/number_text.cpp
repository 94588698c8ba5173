#include "tablestore/number_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/text.hpp"

namespace tablestore {

namespace {

constexpr int kMaxDecimals = 15;

void fillStars(char* field, int length) {
  std::memset(field, '*', static_cast<std::size_t>(length));
}

std::size_t skipBlanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && base::isBlank(text[i])) ++i;
  return i;
}

}  // namespace

bool formatNumber(double value, int decimals, char* field, int length) {
  if (length <= 0) return false;
  int d = std::clamp(decimals, 0, std::min(kMaxDecimals, length - 1));
  if (!std::isfinite(value)) {
    fillStars(field, length);
    return false;
  }
  // The shortest decimal text that reads back as the value: at most 309
  // integer digits (DBL_MAX) or 326 characters (the smallest denormal).
  char text[400];
  auto [end, ec] =
      std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::fixed);
  if (ec != std::errc()) {
    fillStars(field, length);
    return false;
  }
  const char* point = std::find(text, end, '.');
  const char* intFirst = text;
  while (intFirst + 1 < point && *intFirst == '0') ++intFirst;  // keep one digit
  // digits = integer digits followed by exactly d decimals, before rounding.
  char digits[400 + kMaxDecimals];
  int n = static_cast<int>(point - intFirst);
  std::memcpy(digits, intFirst, static_cast<std::size_t>(n));
  const char* frac = point < end ? point + 1 : end;
  int fracCount = static_cast<int>(end - frac);
  for (int i = 0; i < d; ++i) digits[n++] = i < fracCount ? frac[i] : '0';
  if (fracCount > d && frac[d] >= '5') {
    int i = n - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      std::memmove(digits + 1, digits, static_cast<std::size_t>(n));
      digits[0] = '1';
      ++n;
    }
  }
  int intDigits = n - d;
  bool nonZero = std::any_of(digits, digits + n, [](char c) { return c != '0'; });
  bool negative = value < 0 && nonZero;
  int room = d > 0 ? length - d - 1 : length;
  if (intDigits + (negative ? 1 : 0) > room) {
    fillStars(field, length);
    return false;
  }
  int pad = room - intDigits - (negative ? 1 : 0);
  char* out = field;
  std::memset(out, ' ', static_cast<std::size_t>(pad));
  out += pad;
  if (negative) *out++ = '-';
  std::memcpy(out, digits, static_cast<std::size_t>(intDigits));
  out += intDigits;
  if (d > 0) {
    *out++ = '.';
    std::memcpy(out, digits + intDigits, static_cast<std::size_t>(d));
  }
  return true;
}

bool formatInteger(std::int64_t value, char* field, int length) {
  if (length <= 0) return false;
  char text[24];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  int n = static_cast<int>(end - text);
  if (ec != std::errc() || n > length) {
    fillStars(field, length);
    return false;
  }
  std::memset(field, ' ', static_cast<std::size_t>(length - n));
  std::memcpy(field + (length - n), text, static_cast<std::size_t>(n));
  return true;
}

double parseNumber(std::string_view text) {
  std::size_t i = skipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // from_chars takes no sign of its own here, nor the "inf"/"nan" words a
  // field never holds.
  if (i >= text.size() || !(text[i] == '.' || (text[i] >= '0' && text[i] <= '9'))) return 0.0;
  double value = 0.0;
  auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                   std::chars_format::general);
  // Out of the double range (only an exponent can get there) reads as 0 too.
  if (ec != std::errc()) return 0.0;
  return negative ? -value : value;
}

std::int64_t parseInteger(std::string_view text) {
  std::size_t i = skipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::uint64_t magnitude = 0;
  const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    std::uint64_t digit = static_cast<std::uint64_t>(text[i] - '0');
    if (magnitude > (limit - digit) / 10) {
      magnitude = limit;
      break;
    }
    magnitude = magnitude * 10 + digit;
  }
  if (negative)
    return magnitude == (std::uint64_t{1} << 63) ? std::numeric_limits<std::int64_t>::min()
                                                 : -static_cast<std::int64_t>(magnitude);
  return static_cast<std::int64_t>(magnitude);
}

}  // namespace tablestore

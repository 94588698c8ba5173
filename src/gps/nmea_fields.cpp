#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gps/nmea.hpp"
#include "gps/nmea_fields.hpp"

namespace gps {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Powers of ten a double holds exactly, so mantissa / 10^n rounds once.
constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kExactDigits = 15;  // digits a double holds exactly

}  // namespace

bool checksumValid(std::string_view sentence) {
  if (sentence.empty() || sentence.front() != '$') return false;
  const std::size_t star = sentence.find('*');
  if (star == std::string_view::npos) return false;
  unsigned sum = 0;
  for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(sentence[i]);
  // One or two hexadecimal digits and nothing after them.
  const std::string_view hex = sentence.substr(star + 1);
  if (hex.empty() || hex.size() > 2) return false;
  unsigned given = 0;
  for (char c : hex) {
    const int v = hexValue(c);
    if (v < 0) return false;
    given = given * 16 + static_cast<unsigned>(v);
  }
  return given == sum;
}

SentenceFields splitFields(std::string_view sentence) {
  SentenceFields out;
  if (!sentence.empty() && sentence.front() == '$') sentence.remove_prefix(1);
  const std::size_t star = sentence.find('*');
  if (star != std::string_view::npos) sentence = sentence.substr(0, star);
  std::size_t start = 0;
  while (out.count < kMaxFields) {
    const std::size_t comma = sentence.find(',', start);
    if (comma == std::string_view::npos) {
      out.field[out.count++] = sentence.substr(start);
      break;
    }
    out.field[out.count++] = sentence.substr(start, comma - start);
    start = comma + 1;
  }
  return out;
}

bool isNumber(std::string_view field) {
  std::string_view s = trimmed(field);
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
  bool digits = false, point = false;
  for (char c : s) {
    if (isDigit(c)) {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

double fieldNumber(std::string_view field) {
  if (!isNumber(field)) return 0.0;
  std::string_view s = trimmed(field);
  bool negative = false;
  if (s.front() == '+' || s.front() == '-') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  std::uint64_t mantissa = 0;
  int significant = 0, fraction = 0;
  bool point = false, exact = true;
  for (char c : s) {
    if (c == '.') {
      point = true;
      continue;
    }
    if (mantissa == 0 && c == '0') {  // leading zeros add no precision
      if (point) ++fraction;
      continue;
    }
    if (significant == kExactDigits) {
      exact = false;
      break;
    }
    mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
    ++significant;
    if (point) ++fraction;
  }
  double value = 0.0;
  if (exact && fraction <= 22) {
    value = static_cast<double>(mantissa) / kPow10[fraction];
  } else {
    // Long fields are rare: the library reads a bounded copy (only digits,
    // a sign and a point, checked above).
    value = std::strtod(std::string(s).c_str(), nullptr);
    if (!std::isfinite(value)) value = 0.0;
  }
  return negative ? -value : value;
}

}  // namespace gps

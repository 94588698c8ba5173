#include "platform/wildcard.hpp"

#include <vector>

#include "platform/letter_case.hpp"

namespace platform {

namespace {

// Bytes that are no UTF-8 (an 8-bit name written by another program) become
// units above every code point, so they never match a character; they fold
// among themselves as Windows-1252 letters.
constexpr char32_t kStrayByte = 0x110000;

char32_t foldStray(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  return c;
}

// Reads one character at i: its upper case, or a stray byte's unit.
char32_t nextFolded(std::string_view s, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) {
    ++i;
    return c >= 'a' && c <= 'z' ? c - 32 : c;  // the table's answer, without its search
  }
  const std::size_t len = (c >= 0xF0 && c <= 0xF4) ? 4 : (c >= 0xE0 && c <= 0xEF) ? 3 : (c >= 0xC2 && c <= 0xDF) ? 2 : 0;
  char32_t u = len == 0 ? 0 : c & (0xFF >> (len + 1));
  bool whole = len != 0 && i + len <= s.size();
  for (std::size_t k = 1; whole && k < len; ++k) {
    whole = (byte(i + k) & 0xC0) == 0x80;
    u = (u << 6) | (byte(i + k) & 0x3F);
  }
  static constexpr char32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (!whole || u < kLeast[len] || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) {
    ++i;
    return kStrayByte + foldStray(c);
  }
  i += len;
  return upperCase(u);
}

std::vector<char32_t> folded(std::string_view s) {
  std::vector<char32_t> out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) out.push_back(nextFolded(s, i));
  return out;
}

bool match(const std::vector<char32_t>& p, const std::vector<char32_t>& n) {
  // Iterative glob with one back-track point for the last '*'.
  std::size_t pi = 0, ni = 0, starP = p.size(), starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == U'*') {
      starP = pi++;
      starN = ni;
    } else if (pi < p.size() && (p[pi] == U'?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (starP != p.size()) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  return pi == p.size();
}

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  const std::vector<char32_t> n = folded(name);
  if (match(folded(pattern), n)) return true;
  // "NAME.*" also takes "NAME" without an extension.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
      name.find('.') == std::string_view::npos)
    return match(folded(pattern.substr(0, pattern.size() - 2)), n);
  return false;
}

bool namesEqual(std::string_view a, std::string_view b) { return folded(a) == folded(b); }

}  // namespace platform

#include "platform/wildcard.hpp"

namespace platform {

namespace {

// Folds ASCII letters and the Windows-1252 accented letters (0xE0-0xFE but
// 0xF7) onto their capitals, as the Windows file system compares names.
unsigned char fold(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  return c;
}

bool match(std::string_view p, std::string_view n) {
  // Iterative glob with one back-track point for the last '*'.
  std::size_t pi = 0, ni = 0, starP = std::string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starN = ni;
    } else if (pi < p.size() &&
               (p[pi] == '?' || fold(static_cast<unsigned char>(p[pi])) ==
                                    fold(static_cast<unsigned char>(n[ni])))) {
      ++pi;
      ++ni;
    } else if (starP != std::string_view::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  if (match(pattern, name)) return true;
  // "NAME.*" also takes "NAME" without an extension.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
      name.find('.') == std::string_view::npos)
    return match(pattern.substr(0, pattern.size() - 2), name);
  return false;
}

bool namesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace platform

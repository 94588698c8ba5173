#include "base/text.hpp"

#include <cstdarg>
#include <cstdio>

namespace base {

std::string trimRight(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && isBlank(text[n - 1])) --n;
  return std::string(text.substr(0, n));
}

std::string trimLeft(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  return std::string(text.substr(i));
}

std::string trim(std::string_view text) { return trimLeft(trimRight(text)); }

namespace {
bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::size_t characterCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    if (!continuation(c)) ++n;
  return n;
}

std::string firstCharacters(std::string_view utf8, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t count = 0; i < utf8.size() && count < n; ++count) {
    ++i;
    while (i < utf8.size() && continuation(utf8[i])) ++i;
  }
  return std::string(utf8.substr(0, i));
}

std::string withoutLastCharacter(std::string_view utf8) {
  std::size_t n = utf8.size();
  while (n > 0 && continuation(utf8[n - 1])) --n;
  return std::string(utf8.substr(0, n > 0 ? n - 1 : 0));
}

std::size_t trimmedLength(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && isBlank(text[n - 1])) --n;
  return n;
}

int splitTokens(std::string_view text, std::string_view separators, std::vector<std::string>& out,
                int max) {
  out.clear();
  std::size_t i = 0;
  while (i < text.size() && static_cast<int>(out.size()) < max) {
    while (i < text.size() && separators.find(text[i]) != std::string_view::npos) ++i;
    if (i >= text.size()) break;
    std::size_t start = i;
    while (i < text.size() && separators.find(text[i]) == std::string_view::npos) ++i;
    out.emplace_back(text.substr(start, i - start));
  }
  return static_cast<int>(out.size());
}

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), fmt, args);
    out.resize(static_cast<std::size_t>(n));
  }
  va_end(args);
  return out;
}

std::string toUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace base

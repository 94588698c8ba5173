#include "gislib/json_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/codepage.hpp"

namespace gislib {

namespace {

// The length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) return 1;
  std::size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;   // overlong
    if (c == 0xED) high = 0x9F;  // surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;   // overlong
    if (c == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < n; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

void appendJsonString(std::string& out, std::string_view utf8) {
  out.push_back('"');
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = sequenceLength(utf8, i);
    if (n == 0) {
      out.append("\xEF\xBF\xBD");
      ++i;
      continue;
    }
    if (n > 1) {
      out.append(utf8.substr(i, n));
      i += n;
      continue;
    }
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\b': out.append("\\b"); break;
      case '\f': out.append("\\f"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      default:
        if (c < 0x20) {
          char esc[8];
          std::snprintf(esc, sizeof esc, "\\u%04X", static_cast<unsigned>(c));
          out.append(esc);
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
    ++i;
  }
  out.push_back('"');
}

std::string coordinateText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.9f", value);
  std::string s = text;
  if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-') s.erase(0, 1);
  return s;
}

std::string numberText(std::optional<double> value) {
  if (!value || !std::isfinite(*value)) return "null";
  char text[64];
  const auto r = std::to_chars(text, text + sizeof text, *value);
  std::string s(text, r.ptr);
  if (s == "-0") s = "0";
  return s;
}

bool validUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = sequenceLength(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string nameText(std::string_view name) {
  return validUtf8(name) ? std::string(name) : platform::cp1252ToUtf8(name);
}

}  // namespace gislib

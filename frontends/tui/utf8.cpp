#include "utf8.hpp"

namespace tui {

void appendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

Utf8Decoder::Result Utf8Decoder::feed(unsigned char b, char32_t& out) {
  if (need_ > 0) {
    if ((b & 0xC0) != 0x80) {
      need_ = 0;
      return kRestart;
    }
    value_ = (value_ << 6) | (b & 0x3F);
    if (--need_ > 0) return kNeedMore;
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (value_ < min_ || value_ > 0x10FFFF || (value_ >= 0xD800 && value_ <= 0xDFFF)) return kInvalid;
    out = value_;
    return kDone;
  }
  if (b < 0x80) {
    out = b;
    return kDone;
  }
  if (b >= 0xC2 && b <= 0xDF) {
    value_ = b & 0x1F, need_ = 1, min_ = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    value_ = b & 0x0F, need_ = 2, min_ = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    value_ = b & 0x07, need_ = 3, min_ = 0x10000;
  } else {
    return kInvalid;
  }
  return kNeedMore;
}

}  // namespace tui

#pragma once
// A fixed-layout record: an image of exactly N bytes with typed accessors by
// offset. Named records derive from it; bytes nobody names ride along unchanged.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/le.hpp"

namespace base {

template <std::size_t N>
class FixedRecord {
 public:
  static constexpr std::size_t kSize = N;

  std::array<std::uint8_t, N>& bytes() { return image_; }
  const std::array<std::uint8_t, N>& bytes() const { return image_; }
  void clear() { image_.fill(0); }

  std::int32_t i32(std::size_t off) const { check(off, 4); return getI32(&image_[off]); }
  void setI32(std::size_t off, std::int32_t v) { check(off, 4); putI32(&image_[off], v); }
  std::uint32_t u32(std::size_t off) const { check(off, 4); return getU32(&image_[off]); }
  void setU32(std::size_t off, std::uint32_t v) { check(off, 4); putU32(&image_[off], v); }
  std::int16_t i16(std::size_t off) const { check(off, 2); return getI16(&image_[off]); }
  void setI16(std::size_t off, std::int16_t v) { check(off, 2); putI16(&image_[off], v); }
  std::uint8_t u8(std::size_t off) const { check(off, 1); return image_[off]; }
  void setU8(std::size_t off, std::uint8_t v) { check(off, 1); image_[off] = v; }

  // 8-bit text of a field of size bytes, up to its first NUL.
  std::string text8(std::size_t off, std::size_t size) const {
    check(off, size);
    auto first = image_.begin() + off;
    auto end = std::find(first, first + size, std::uint8_t{0});
    return std::string(first, end);
  }
  // Stores at most size - 1 bytes and zero-fills the rest of the field.
  void setText8(std::size_t off, std::size_t size, std::string_view text) {
    check(off, size);
    std::size_t n = std::min(text.size(), size - 1);
    std::fill(image_.begin() + off, image_.begin() + off + size, std::uint8_t{0});
    std::copy(text.begin(), text.begin() + n, image_.begin() + off);
  }
  // UTF-16LE text of a field of size bytes, up to its first NUL character.
  std::u16string text16(std::size_t off, std::size_t size) const {
    check(off, size);
    std::u16string out;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
      char16_t c = static_cast<char16_t>(getU16(&image_[off + i]));
      if (c == 0) break;
      out.push_back(c);
    }
    return out;
  }
  // Stores at most size / 2 - 1 characters and zero-fills the rest.
  void setText16(std::size_t off, std::size_t size, std::u16string_view text) {
    check(off, size);
    std::fill(image_.begin() + off, image_.begin() + off + size, std::uint8_t{0});
    std::size_t n = std::min(text.size(), size / 2 - 1);
    for (std::size_t i = 0; i < n; ++i) putU16(&image_[off + 2 * i], text[i]);
  }

 private:
  // Offsets are compile-time constants of the layouts; a wrong one is a
  // programming fault, caught in debug builds.
  static constexpr void check([[maybe_unused]] std::size_t off, [[maybe_unused]] std::size_t len) {
#ifndef NDEBUG
    if (off + len > N) __builtin_trap();
#endif
  }
  std::array<std::uint8_t, N> image_{};
};

}  // namespace base

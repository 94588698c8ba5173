#pragma once
// Text fields of the transfer records are NUL-terminated inside fixed widths.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace transfer {

// True when text can be stored whole, NUL included, in a field of size bytes.
inline bool fitsField(std::string_view text, std::size_t size) {
  return text.size() < size && text.find('\0') == std::string_view::npos;
}

// True when the field of size bytes at offset holds a NUL. The caller has
// checked that offset + size lies inside the bytes.
inline bool terminated(const std::uint8_t* bytes, std::size_t offset, std::size_t size) {
  return std::memchr(bytes + offset, 0, size) != nullptr;
}

}  // namespace transfer

#pragma once
// The 280-byte header in front of every file on the host connection: bytes
// 0-259 the name (8-bit, NUL-terminated, no folder), 260-263 the length
// (32-bit little-endian), 264-279 reserved (zero when we build one, carried
// unchanged when read).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/fixed_record.hpp"
#include "transfer/wire_parse.hpp"

namespace transfer {

class FileHeader : public base::FixedRecord<280> {
 public:
  static constexpr std::size_t kName = 0, kNameSize = 260, kLength = 260;

  std::string name() const { return text8(kName, kNameSize); }
  std::uint32_t length() const { return u32(kLength); }
  void setLength(std::uint32_t bytes) { setU32(kLength, bytes); }
  // False (header untouched) when the name is empty, holds a NUL or has
  // 260 bytes or more, so that it would not arrive whole.
  [[nodiscard]] bool setName(std::string_view name);
};
static_assert(sizeof(FileHeader) == FileHeader::kSize && FileHeader::kSize == 280);

// A cleared header with the name and length; false as setName.
[[nodiscard]] bool buildFileHeader(std::string_view name, std::uint32_t length, FileHeader& out);

// Reads a header from the first 280 of size bytes. kShort when size is below
// 280; kUnterminatedName when bytes 0-259 hold no NUL; kLengthAboveMax when
// the length is above maxLength. out is set only on kOk.
[[nodiscard]] WireParse parseFileHeader(const std::uint8_t* bytes, std::size_t size,
                                        std::uint32_t maxLength, FileHeader& out);

}  // namespace transfer

#pragma once
// The 300-byte block the PC sends once after connecting:
//   0-49    the unit identifier (8-bit, NUL-terminated)
//   50-53   the block's format number, kLoginFormat (32-bit little-endian)
//   54-85   the program's version text (8-bit, NUL-terminated)
//   86-299  zero when we build one; carried unchanged when read
// A host tells from the format number which fields follow the identifier.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/fixed_record.hpp"
#include "transfer/wire_parse.hpp"

namespace transfer {

inline constexpr std::uint32_t kLoginFormat = 1;

class LoginBlock : public base::FixedRecord<300> {
 public:
  static constexpr std::size_t kUnitId = 0, kUnitIdSize = 50;
  static constexpr std::size_t kFormat = 50;
  static constexpr std::size_t kVersion = 54, kVersionSize = 32;

  std::string unitId() const { return text8(kUnitId, kUnitIdSize); }
  std::uint32_t format() const { return u32(kFormat); }
  std::string versionText() const { return text8(kVersion, kVersionSize); }
};
static_assert(LoginBlock::kSize == 300);

// A cleared block with the identifier, kLoginFormat and the version text;
// false (out untouched) when the identifier is empty or either text does
// not fit its field whole (49 and 31 bytes at most, no NUL).
[[nodiscard]] bool buildLoginBlock(std::string_view unitId, std::string_view versionText,
                                   LoginBlock& out);

// Reads a block from the first 300 of size bytes: kShort when size is below
// 300; kUnterminatedName when the identifier, or in a block of kLoginFormat
// the version text, holds no NUL inside its field. out is set only on kOk.
// Other format numbers are not refused here: a host may accept them.
[[nodiscard]] WireParse parseLoginBlock(const std::uint8_t* bytes, std::size_t size, LoginBlock& out);

}  // namespace transfer

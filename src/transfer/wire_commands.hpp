#pragma once
// The single command bytes the PC sends on the host connection, and the size
// of the pieces file data moves in.
#include <cstddef>
#include <cstdint>

namespace transfer {

inline constexpr std::uint8_t kCommandSendFile = 'c';    // header and data follow
inline constexpr std::uint8_t kCommandNextFile = 'b';    // the host answers with header and data
inline constexpr std::uint8_t kCommandEndSession = 'Z';

// File data goes as pieces of at most this many bytes, one link request each.
inline constexpr std::size_t kMaxPieceBytes = 16384;

}  // namespace transfer

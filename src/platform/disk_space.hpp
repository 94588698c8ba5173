#pragma once
// Free space of the volume a folder lives on, so that a writer can refuse a
// file that cannot fit before it starts writing it.
#include <cstdint>
#include <string>

namespace platform {

// The bytes the current user may still write on the volume holding folder.
// 0 (bytes set) or the system's error code (bytes untouched).
[[nodiscard]] int freeDiskBytes(const std::string& folder, std::uint64_t& bytes);

}  // namespace platform

#pragma once
// Two questions about the storage under a folder that a server asks before
// it calls a received file safe: is what the folder lists on the device, and
// how much room is left. Both return 0 or a Windows error code (errors.hpp).
#include <cstdint>
#include <string>

namespace platform {

// Forces the folder's own entries (names created, renamed or removed in it)
// to the storage device, as FileHandle::flush does for a file's data.
// Windows, whose file systems keep folder entries in their journal: 0.
[[nodiscard]] int flushFolder(const std::string& path);

// The bytes the caller may still write on the volume holding path.
[[nodiscard]] int freeSpace(const std::string& path, std::uint64_t& bytes);

}  // namespace platform

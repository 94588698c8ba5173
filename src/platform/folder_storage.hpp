#pragma once
// What a server asks of the storage before it calls a received file safe:
// is what the folder lists on the device. Free space: disk_space.hpp.
#include <string>

namespace platform {

// Forces the folder's own entries (names created, renamed or removed in it)
// to the storage device, as FileHandle::flush does for a file's data.
// Windows, whose file systems keep folder entries in their journal: 0.
[[nodiscard]] int flushFolder(const std::string& path);

}  // namespace platform

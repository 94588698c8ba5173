#pragma once
// The checked read of a fixed-size control file: it must exist, open, have
// exactly the expected length, and then be read in whole records. Nothing of
// a file is used before its length has been checked.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/fileops.hpp"

namespace apps {

enum class WholeRead { Ok, Missing, Open, Size, Read, Short };

// Checks that path (UTF-8) names an existing file, opens it for reading and
// checks that its length is expectedSize. Ok leaves file open at offset 0;
// Missing, Open or Size otherwise (a length that cannot be had is Read).
WholeRead openExact(const std::string& path, std::int64_t expectedSize, platform::File& file);

// Reads exactly size bytes with one read: Ok, Read (the read failed) or Short
// (fewer bytes came).
WholeRead readPart(platform::File& file, void* buffer, std::size_t size);

// openExact and one readPart of the whole file into buffer.
WholeRead readExactImage(const std::string& path, void* buffer, std::size_t size);

}  // namespace apps

#pragma once
// The scratch files of the fuzz targets that read their input from a file:
// one private folder per process under the temporary directory.
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz_support {

// The folder, made on first use.
const std::string& scratchFolder();
// name inside the folder.
std::string scratchPath(const std::string& name);
// Writes the input bytes to path, replacing what was there; false when the
// file cannot be written whole.
bool writeScratch(const std::string& path, const std::uint8_t* data, std::size_t size);

}  // namespace fuzz_support

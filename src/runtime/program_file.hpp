#pragma once
// Reading a runtime program file's bytes into a ProgramImage: the optional
// header, the segment word, the two segments and their limits.
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/program_image.hpp"

namespace runtime {

// The whole file must be smaller than this.
inline constexpr std::size_t kFileLimit = 131069;

// Parses the file's bytes into out. Returns 0, or the error code of the
// run-time error table with firstLine set to the first line of the warning
// ("runtime error", "runtime ds size error" or "runtime cs size error").
[[nodiscard]] int parseProgram(const std::uint8_t* bytes, std::size_t size, ProgramImage& out,
                               std::string& firstLine);

}  // namespace runtime

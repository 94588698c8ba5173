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
// ("runtime error", "runtime ds size error" or "runtime cs size error"):
//   3 the file is kFileLimit bytes or more ("runtime error"), the data
//     segment size is 65535 ("runtime ds size error") or the code segment
//     is longer than kSegmentMax ("runtime cs size error");
//   2 the data segment runs past the end of the file, or the code segment
//     is not whole 14-byte instructions ("runtime cs size error"), or the
//     entry index names no instruction ("runtime error"; an empty program
//     may only start at 0, and then stops at once with error 7 when run);
//   5 the file is shorter than the segment word.
// A file shorter than the header is read as having none, so a 4-byte file
// with segment word 0 is an empty program. On failure out is left untouched.
[[nodiscard]] int parseProgram(const std::uint8_t* bytes, std::size_t size, ProgramImage& out,
                               std::string& firstLine);

}  // namespace runtime

#pragma once
// A loaded runtime program: its two segments, which addressing its numeric
// variables use, and where execution starts.
#include <cstdint>
#include <vector>

namespace runtime {

inline constexpr std::size_t kHeaderSize = 162;
inline constexpr std::size_t kSegmentMax = 65534;

struct ProgramImage {
  // With the header, a numeric variable's operand is its byte offset in the
  // data segment; without it, its number (the variable lies at 8 × number).
  bool withHeader = false;
  std::vector<std::uint8_t> data;  // the data segment (at most kSegmentMax bytes)
  std::vector<std::uint8_t> code;  // the code segment: whole 14-byte instructions
  std::uint16_t entry = 0;         // index of the first instruction to execute

  std::size_t instructionCount() const { return code.size() / 14; }
};

}  // namespace runtime

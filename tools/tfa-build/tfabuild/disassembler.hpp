#pragma once
// The disassembler of runtime programs: a program file's bytes as readable
// text in the assembler's form, for looking into files and for tests.
#include <cstdint>
#include <string>
#include <vector>

namespace tfabuild {

// A program file taken apart by its layout (nothing interpreted).
struct ProgramFileParts {
  bool withHeader = false;         // the first three bytes are "TFC" in any case
  std::uint16_t dataSize = 0;      // the segment word's low half
  std::uint16_t entry = 0;         // the segment word's high half
  std::vector<std::uint8_t> data;  // the data segment
  std::vector<std::uint8_t> code;  // whole 14-byte instructions
  std::vector<std::uint8_t> tail;  // bytes after the last whole instruction
};

// Splits bytes by the program file layout. Returns false with why set when
// the file is too short for its segment word or the data segment it names.
[[nodiscard]] bool splitProgramFile(const std::vector<std::uint8_t>& bytes, ProgramFileParts& out,
                                    std::string& why);

// The program as text: the directives for the variant and segment word, the
// data segment as constants, numbers or raw data where it holds something,
// one instruction a line (index in a comment, built-ins by name, targets as
// L<n> labels, the target slot shown as "; target N"). When raw is true,
// everything is written in the raw form so that assembling the text gives
// the same bytes. A file the layout refuses gives one comment line saying why.
std::string disassemble(const std::vector<std::uint8_t>& bytes, bool raw = false);

}  // namespace tfabuild

#pragma once
// The assembler of runtime programs: the readable text form of
// docs/programs.md into the bytes of a program file.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tfabuild {

// A named variable or constant of the program, where it lies in the data segment.
struct ProgramSymbol {
  enum class Kind { Number, String, Constant } kind = Kind::Number;
  std::uint32_t offset = 0;    // byte offset in the data segment
  std::uint32_t capacity = 0;  // bytes it takes: 8 for a number; strings include the terminator
};

struct AssembleResult {
  std::map<std::string, ProgramSymbol> symbols;  // by name as written
  std::map<std::string, std::uint16_t> labels;   // label → instruction index
  std::vector<std::uint8_t> bytes;      // the program file (empty when there were errors)
  std::vector<std::string> errors;      // "NAME:LINE: message", in source order; every one found
  bool ok() const { return errors.empty(); }
};

// Assembles source (the text form of docs/programs.md). name is used in the
// messages ("NAME:N: ..."). ok() says whether bytes hold the program file.
AssembleResult assembleProgram(const std::string& source, const std::string& name = "program");

}  // namespace tfabuild

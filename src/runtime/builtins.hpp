#pragma once
// The built-in functions of runtime programs by number (0-167): the name the
// assembler knows each by and the stack shape a call usually has. The
// assembler and the interpreter both read this one table; docs/programs.md
// lists it for program authors.
#include <cstdint>
#include <string_view>

namespace runtime {

inline constexpr int kBuiltinCount = 168;

enum class Yields : std::uint8_t {
  Nothing,  // leaves no result
  Number,
  Text,
  Either,  // number or text, as the instruction's result kind says
};

struct BuiltinInfo {
  int number;
  std::string_view name;
  std::uint8_t arguments;  // entries a call consumes by default
  Yields yields;           // a call leaves one result unless Nothing
};

// The entry of built-in number (0-167); nullptr for other numbers.
const BuiltinInfo* builtinInfo(int number);
// The entry named name (case-insensitive); nullptr when none is.
const BuiltinInfo* findBuiltin(std::string_view name);

// Built-ins with a fixed meaning to the instruction loop.
inline constexpr int kBuiltinEnd = 0;   // ends the run with |x|
inline constexpr int kBuiltinIf = 1;    // condition: a 0 result continues at the target
inline constexpr int kBuiltinWhile = 2;

}  // namespace runtime

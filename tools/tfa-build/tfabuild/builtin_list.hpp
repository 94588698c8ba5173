#pragma once
// The table of built-ins for program authors, made from the runtime's own
// table so the documentation cannot drift from what the assembler accepts.
#include <string>

namespace tfabuild {

// A markdown table: number, name, arguments, what it yields; one row each.
std::string builtinTableMarkdown();

}  // namespace tfabuild

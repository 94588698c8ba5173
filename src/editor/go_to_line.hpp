#pragma once
// Going to a line by its number (F6, Ctrl+L; the command itself is declared
// with the other commands in later_commands.hpp).
#include <cstdint>
#include <string_view>

namespace editor {

// How many digits the line number field takes for a level of lineCount
// lines: as many as the count has, at least 4, so every line can be named.
int lineFieldWidth(std::int32_t lineCount);

// The line a keyed number names on a level of lineCount lines: 0 or less
// (or blank) gives line 1, past the last line the last line.
std::int32_t lineFromKeyed(std::string_view keyed, std::int32_t lineCount);

}  // namespace editor

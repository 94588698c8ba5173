#pragma once
// File-name wildcards with Windows rules on every platform: case-insensitive,
// '*' any run, '?' one character, '[' an ordinary character; "*" and "*.*"
// match every name; a pattern ending in ".*" also matches the name without
// an extension ("DATA.*" matches "data").
#include <string_view>

namespace platform {

bool wildcardMatch(std::string_view pattern, std::string_view name);

// Case-insensitive comparison of 8-bit names (ASCII letters and the
// Windows-1252 accented letters fold; UTF-8 bytes compare as they stand).
bool namesEqual(std::string_view a, std::string_view b);

}  // namespace platform

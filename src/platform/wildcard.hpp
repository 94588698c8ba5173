#pragma once
// File-name wildcards with Windows rules on every platform: case-insensitive,
// '*' any run, '?' one character, '[' an ordinary character; "*" and "*.*"
// match every name; a pattern ending in ".*" also matches the name without
// an extension ("DATA.*" matches "data").
//
// Names and patterns are UTF-8, as the file system interface holds them.
// Case folds for every letter that has a simple upper case ("ä" matches
// "Ä", Greek and Cyrillic alike); '?' stands for one character, however
// many bytes it takes. A byte that is no UTF-8 is a character of its own that
// matches only itself (and its Windows-1252 case partner).
#include <string_view>

namespace platform {

bool wildcardMatch(std::string_view pattern, std::string_view name);

// Case-insensitive comparison of two names under the same folding.
bool namesEqual(std::string_view a, std::string_view b);

}  // namespace platform

#pragma once
// Level codes: five characters naming one table of an application's
// hierarchy, one position per level, a letter for each level down to the
// table and "_" below it ("A____" is the level-1 table, its children
// "AA___", "AB___" ...). A table's level is the number of its letters.
#include <string>
#include <string_view>

namespace datasets {

inline constexpr const char* kLevel1Code = "A____";
inline constexpr int kLevelCodeLength = 5;
inline constexpr int kMaxLevel = 5;
inline constexpr int kMaxChildren = 26;

// The code as names carry it: blanks trimmed on both sides, cut to five
// characters, padded on the right with "_" to five.
std::string normalLevelCode(std::string_view code);

// The level (1-5) of a five-character code: its leading upper-case letters,
// followed by nothing but "_". 0 for any other text (wrong length, a letter
// after a "_", a character that is neither).
int levelOfCode(std::string_view code);

// The number (A = 1 ... Z = 26) of the letter at position position (1-5) of
// the code, or 0 when that position holds no letter A-Z. For the table open
// at level n (n >= 2) this is its child letter number, the %d of its
// parent's "CHILD%d" and "STATUS%d" fields.
int letterNumberAt(std::string_view code, int position);

// The code of a child of the table with code parentCode: the parent's code
// with position level(parent) + 1 set to the letter of childNumber (1-26).
// "" when the parent code is no level code, is already at level 5, or the
// number lies outside 1-26.
std::string childCode(std::string_view parentCode, int childNumber);

}  // namespace datasets

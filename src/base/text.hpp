#pragma once
// The shared text operations. "Blank" here means any character at or below
// the space (control characters included), as the stored formats treat them.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace base {

inline bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Removes blanks at the end / at the start.
std::string trimRight(std::string_view text);
std::string trimLeft(std::string_view text);
std::string trim(std::string_view text);
// The length without trailing blanks.
std::size_t trimmedLength(std::string_view text);

// Splits at any of the separator characters, skipping empty pieces, into at
// most max pieces (the rest of the text is dropped); returns the count.
int splitTokens(std::string_view text, std::string_view separators, std::vector<std::string>& out,
                int max);

// UTF-8 text counted in characters: how many it holds, and its first n
// characters (a character is never cut).
std::size_t characterCount(std::string_view utf8);
std::string firstCharacters(std::string_view utf8, std::size_t n);
// The text without its last character (empty stays empty).
std::string withoutLastCharacter(std::string_view utf8);

// printf-style formatting into a std::string.
std::string format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// ASCII case folding.
std::string toUpper(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace base

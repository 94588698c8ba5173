#pragma once
// Letter case of single characters, the same on every platform: the simple
// upper-case mapping of every letter that has one (one character to one), as
// a case-insensitive file system compares names.
namespace platform {

// The upper-case letter of u, or u itself when it has none (digits, marks,
// capitals, "ß", code points outside Unicode).
char32_t upperCase(char32_t u);

}  // namespace platform

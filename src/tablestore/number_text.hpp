#pragma once
// Numbers as the text a table field holds: right-aligned, blank-padded, a '-'
// before the first digit, a '.' at length - decimals - 1, and asterisks over
// the whole field for a value that does not fit.
#include <cstdint>
#include <string_view>

namespace tablestore {

// Formats value into field[0, length). Decimals are capped at 15 and at
// length - 1; the value is rounded half away from zero on its shortest decimal
// form (so 0.145 with 2 decimals gives 0.15, as the user reads it). A zero
// integer part shows as one '0'; negative zero shows unsigned. Returns false,
// with the field all '*', when the integer digits and sign need more room than
// the field has, or the value is not finite.
bool formatNumber(double value, int decimals, char* field, int length);

// Formats value right-aligned in field[0, length) with no decimals; false (field
// all '*') when it does not fit.
bool formatInteger(std::int64_t value, char* field, int length);

// The text read as a decimal number: leading blanks skipped, an optional sign,
// then the longest number that follows. Blank or '*' text, or text with no
// number in front, or a number out of the double range, reads as 0.
double parseNumber(std::string_view text);

// The text read as an integer: leading blanks, an optional sign, then digits
// up to the first other character (so "12.7" reads as 12); 0 when there are
// none. Values past the 64-bit range saturate.
std::int64_t parseInteger(std::string_view text);

}  // namespace tablestore

#pragma once
// The pieces of JSON text the layers are written with, by hand: strings,
// coordinates and optional numbers.
#include <optional>
#include <string>
#include <string_view>

namespace gislib {

// Appends text as a JSON string, quotes included: '"' and '\' escaped,
// control characters below 0x20 as \b \f \n \r \t or \u00XX, and each byte
// that does not begin or continue a well-formed UTF-8 sequence as U+FFFD, so
// that the output is always valid UTF-8 whatever the input holds.
void appendJsonString(std::string& out, std::string_view utf8);

// A coordinate with nine decimals ("-114.987654321"); never "-0.000000000".
// The caller has checked that value is finite.
std::string coordinateText(double value);

// A number in its shortest form that reads back as the same double, or
// "null" when there is none or it is not finite.
std::string numberText(std::optional<double> value);

// True when text is well-formed UTF-8 (no overlong forms, no surrogates).
bool validUtf8(std::string_view text);

// Text of a file name as shown: the name itself when it is UTF-8, else its
// bytes read as Windows-1252.
std::string nameText(std::string_view name);

}  // namespace gislib

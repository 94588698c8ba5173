#pragma once
// The fields of a checked NMEA sentence and the safe reading of numbers
// from them.
#include <array>
#include <cstddef>
#include <string_view>

namespace gps {

inline constexpr std::size_t kMaxFields = 100;

// The fields between '$' and '*', split at ','; field 0 is the address
// ("GPGGA"). The checksum after '*' is not a field, so a count is the number
// of fields the sentence carries. Fields past the hundredth are not kept.
// The views point into the sentence given to splitFields.
struct SentenceFields {
  std::array<std::string_view, kMaxFields> field{};
  std::size_t count = 0;
  // Field i, or an empty view past the last one.
  std::string_view operator[](std::size_t i) const { return i < count ? field[i] : std::string_view(); }
};
SentenceFields splitFields(std::string_view sentence);

// A field as a number: an optional sign, digits and an optional decimal
// fraction and nothing else (blanks around it allowed). Anything else (an
// empty field, "nan", "inf", "1e5", "12abc") is 0. Never reads past the
// field and always gives a finite value.
double fieldNumber(std::string_view field);
// Whether the field holds such a number.
bool isNumber(std::string_view field);
// The first character of a field, '\0' for an empty one.
inline char firstChar(std::string_view field) { return field.empty() ? '\0' : field.front(); }

}  // namespace gps

#pragma once
// The field types of a column and the stored text of its dates and times:
// which types are dates or times, the layout of each date text, the empty
// templates the editors start from, and today's date / the time now as the
// clock fills (Ctrl+D, Ctrl+T) write them.
#include <string>

#include "platform/clock.hpp"

namespace editor {

// The 16-bit field type of a column. Any other code behaves as display only.
enum FieldType : int {
  kTypeGeneral = 0,
  kTypeNumeric = 1,
  kTypeDateMdy = 2,     // month/day/year, two-digit year
  kTypeDateYmd = 3,     // year/month/day, two-digit year
  kTypeTime = 4,
  kTypeSensor = 5,
  kTypeDisplayOnly = 6,
  kTypeTimer = 7,
  kTypeTimeMs = 8,      // with milliseconds; filled by Ctrl+T only
  kTypeDateMdyyyy = 9,  // month/day/four-digit year
  kTypeDateYyyymd = 10, // four-digit year/month/day
  kTypeSkipped = 11,
};

bool isDateType(int fieldType);  // 2, 3, 9, 10
bool isTimeType(int fieldType);  // 4, 8

// Where each part of a text starts and how many digits it has (0-based).
struct TextPart {
  int start = 0, length = 0;
};
// A date text of one type and storage kind: its parts and its whole width
// (with separators for character fields, without for numeric ones).
struct DateLayout {
  TextPart month, day, year;
  int width = 0;
};
struct TimeLayout {
  TextPart hour, minute, second;
  int width = 0;
};

// The layout of a date type; false (layout untouched) for a type that is not
// a date.
bool dateLayout(int fieldType, bool numericField, DateLayout& layout);
TimeLayout timeLayout(bool numericField);

// The empty templates: "  /  /  " (2, 3), "  /  /    " (9), "    /  /  " (10),
// "  :  :  " (time); numeric fields the same width less the separators, all
// blanks. Empty for a type that is not a date.
std::string dateTemplate(int fieldType, bool numericField);
std::string timeTemplate(bool numericField);
// The separators of a character field's date and time texts.
inline constexpr char kDateSeparator = '/';
inline constexpr char kTimeSeparator = ':';

// The stored text of a date for a date type: character fields
// "%02d/%02d/%02d" in the type's order (four-digit years for 9 and 10),
// numeric fields the same digits without separators. Empty for a type that is
// not a date.
std::string formatDate(const platform::DateTime& at, int fieldType, bool numericField);
// The stored text of a time: "%02d:%02d:%02d" for type 4, "%02d:%02d:%02d.%03d"
// for type 8; numeric fields without the colons, cut to width (when width > 0).
// Empty for a type that is not a time.
std::string formatTime(const platform::DateTime& at, int fieldType, bool numericField, int width);

// Today's date and the time now on the platform clock, as formatDate and
// formatTime give them.
std::string todayText(int fieldType, bool numericField);
std::string timeNowText(int fieldType, bool numericField, int width);

}  // namespace editor

#pragma once
// The checks of a date or time text as the date and time editors leave it.
#include <string_view>

#include "editor/field_context.hpp"

namespace editor {

// The warning texts, exactly as the user sees them.
inline constexpr const char* kBadMonth = "Bad Month";
inline constexpr const char* kBadDay = "Bad Day  ";
inline constexpr const char* kBadHour = "Bad Hour";
inline constexpr const char* kBadMinute = "Bad Minute";
inline constexpr const char* kBadSecond = "Bad Second";

// Checks the date text (laid out for fieldType 2, 3, 9 or 10 in the storage
// kind): month 1-12, day 1-31 within the month's length; 29 February only in
// a leap year by the Gregorian rule, a two-digit year yy counting as 20yy.
// Blanks around a part's digits are ignored; a text whose every digit
// position is blank is an empty date and passes. True when good (or the type
// is not a date). On failure shows "Bad Month" or "Bad Day  " through
// ctx.warn for 1.5 s and sets badPos to the first character of the bad part.
[[nodiscard]] bool checkDate(FieldContext& ctx, std::string_view text, int fieldType,
                             bool numericField, int& badPos);

// Checks the time text "hh:mm:ss" ("hhmmss" for numeric fields): hour 0-23,
// minute and second 0-59; an all-blank time passes. On failure shows
// "Bad Hour", "Bad Minute" or "Bad Second" for 1.5 s and sets badPos to the
// bad part.
[[nodiscard]] bool checkTime(FieldContext& ctx, std::string_view text, bool numericField,
                             int& badPos);

// Whether February of the year (as a full year number) has 29 days, by the
// Gregorian rule: 2000 and 2024 do, 1900 and 2100 do not.
bool isLeapYear(int year);

}  // namespace editor

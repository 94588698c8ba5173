#include "editor/date_time_check.hpp"

#include <algorithm>

#include "editor/field_formats.hpp"

namespace editor {

namespace {

// The number a part holds: its digits, blanks around them ignored. -1 when
// the part holds no digit or anything but digits and blanks.
int partValue(std::string_view text, const TextPart& part) {
  int value = 0;
  bool any = false;
  for (int i = part.start; i < part.start + part.length; ++i) {
    char c = i < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(i)] : ' ';
    if (c == ' ') continue;
    if (!isAsciiDigit(c)) return -1;
    value = value * 10 + (c - '0');
    any = true;
  }
  return any ? value : -1;
}

bool allBlank(std::string_view text, std::initializer_list<TextPart> parts) {
  for (const TextPart& part : parts) {
    for (int i = part.start; i < part.start + part.length; ++i) {
      if (i < static_cast<int>(text.size()) && text[static_cast<std::size_t>(i)] != ' ') return false;
    }
  }
  return true;
}

bool refuse(FieldContext& ctx, const char* message, const TextPart& part, int& badPos) {
  showWarning(ctx, {message}, kDateWarnTicks);
  badPos = part.start;
  return false;
}

int daysInMonth(int month, int year) {
  switch (month) {
    case 2: return isLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    default: return 31;
  }
}

}  // namespace

bool isLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

bool checkDate(FieldContext& ctx, std::string_view text, int fieldType, bool numericField,
               int& badPos) {
  DateLayout layout;
  if (!dateLayout(fieldType, numericField, layout)) return true;
  if (allBlank(text, {layout.month, layout.day, layout.year})) return true;
  int month = partValue(text, layout.month);
  if (month < 1 || month > 12) return refuse(ctx, kBadMonth, layout.month, badPos);
  // A four-digit year counts as written; a two-digit year yy as 20yy. A blank
  // year (nothing to tell by) reads as 0 / 00.
  int year = std::max(partValue(text, layout.year), 0);
  if (layout.year.length == 2) year += 2000;
  int day = partValue(text, layout.day);
  if (day < 1 || day > daysInMonth(month, year)) return refuse(ctx, kBadDay, layout.day, badPos);
  return true;
}

bool checkTime(FieldContext& ctx, std::string_view text, bool numericField, int& badPos) {
  TimeLayout layout = timeLayout(numericField);
  if (allBlank(text, {layout.hour, layout.minute, layout.second})) return true;
  int hour = partValue(text, layout.hour);
  if (hour < 0 || hour > 23) return refuse(ctx, kBadHour, layout.hour, badPos);
  int minute = partValue(text, layout.minute);
  if (minute < 0 || minute > 59) return refuse(ctx, kBadMinute, layout.minute, badPos);
  int second = partValue(text, layout.second);
  if (second < 0 || second > 59) return refuse(ctx, kBadSecond, layout.second, badPos);
  return true;
}

}  // namespace editor

#pragma once
// Generated record keys: lower-case base-36 text made from the local time
// (3 digits of day, 4 of second of the day, 2 of millisecond tick), with
// the six-character unit code in front when asked for.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "datasets/level_codes.hpp"
#include "platform/clock.hpp"

namespace apps {
class AppCtl;
}

namespace datasets {

// value in base 36 ("0"-"9", "a"-"z"), most significant digit first, padded
// on the left with "0" to width; a value needing more digits is written in
// full (at most 7 for 32 bits). 35 in width 2 is "0z", 36 is "10".
std::string toBase36(std::uint32_t value, int width);

// The day number of a date: |trunc((year - 2005) * 365.25)| plus the days of
// the year before the month (one more from March on when the year is
// divisible by 4) plus the day of the month. 1 January 2005 is 1. A month
// outside 1-12 counts as the nearest of them.
std::uint32_t keyDayNumber(int year, int month, int day);

// The key for a given local time and millisecond tick count: day (width 3),
// second of the day (width 4), tick modulo 1000 (width 2); with withUnit the
// unit code first. 00:00:00 on 1 January 2005 with tick 0 gives "001000000".
std::string recordKeyAt(const platform::DateTime& local, std::uint64_t tick, bool withUnit,
                        std::string_view unitCode);

// recordKeyAt with the platform clock's local time and tick count.
std::string makeRecordKey(bool withUnit, std::string_view unitCode);

// The letters of the level codes in use when a key was made: per level 1-5
// (index 0 unused) the leading letters of the code the application record
// holds for that level ("AB" for "AB___"), "" where it holds no level code;
// and those of the current level's code.
struct KeyLetters {
  std::array<std::string, kMaxLevel + 1> level;
  std::string current;
};

// The letters of a level code: its leading letters when it is one ("ABA"
// for "ABA__", blanks around it and a short code's missing "_" allowed),
// else "".
std::string codeLetters(std::string_view code);

// makeRecordKey that also records, in letters, the letters of the level
// codes of app (LevelCode 1-5 and CurLevelCode) for the caller.
std::string makeRecordKey(bool withUnit, std::string_view unitCode, const apps::AppCtl& app, KeyLetters& letters);

}  // namespace datasets

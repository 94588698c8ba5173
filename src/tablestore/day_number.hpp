#pragma once
// Dates of `D` fields ("CCYYMMDD") as day numbers: the Julian day number of
// the proleptic Gregorian calendar, the usual count for table dates
// (2000-01-01 is 2451545). 0 stands for "no date".
#include <cstdint>

namespace tablestore {

inline constexpr std::int64_t kNoDate = 0;

// The day number of a calendar date (no range check).
std::int64_t dayNumber(int year, int month, int day);

// The calendar date of a day number.
void civilDate(std::int64_t dayNumber, int& year, int& month, int& day);

// Reads 8 bytes "CCYYMMDD"; kNoDate for blanks or for text that is not a valid
// date of years 1-9999.
std::int64_t readDate(const char* text8);

// Writes "CCYYMMDD" for a day number; kNoDate or less writes 8 blanks. False
// (field unchanged) when the date falls outside the years 1-9999.
bool writeDate(std::int64_t dayNumber, char* text8);

}  // namespace tablestore

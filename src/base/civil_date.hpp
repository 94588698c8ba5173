#pragma once
// Days since 1 January 1970 and back, on the proleptic Gregorian calendar
// (valid far beyond any date the program meets).
namespace base {

struct CivilDate {
  int year = 1970, month = 1, day = 1;  // month 1-12
};

long long daysFromCivil(int year, int month, int day);
CivilDate civilFromDays(long long days);

}  // namespace base

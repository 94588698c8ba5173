#include "gps/clock_policy.hpp"

#include "base/civil_date.hpp"

#include <cstring>

namespace gps {

namespace {

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysIn(int month, int year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// The compiler's "Mmm dd yyyy" as year, month, day.
platform::DateTime buildDay() {
  static constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const char* date = __DATE__;
  platform::DateTime d;
  for (int m = 0; m < 12; ++m)
    if (std::strncmp(date, kMonths + 3 * m, 3) == 0) d.month = m + 1;
  d.day = (date[4] == ' ' ? 0 : date[4] - '0') * 10 + (date[5] - '0');
  d.year = (date[7] - '0') * 1000 + (date[8] - '0') * 100 + (date[9] - '0') * 10 + (date[10] - '0');
  return d;
}

long long secondsOf(const platform::DateTime& t) {
  return base::daysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

}  // namespace

bool worthSetting(const platform::DateTime& gps, const platform::DateTime& pc) {
  const long long apart = secondsOf(gps) - secondsOf(pc);
  return apart > 2 || apart < -2;
}

bool realDateTime(const platform::DateTime& t) {
  if (t.year < 2000 || t.year > 2099 || t.month < 1 || t.month > 12) return false;
  if (t.day < 1 || t.day > daysIn(t.month, t.year)) return false;
  return t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 60;
}

bool notBeforeBuild(const platform::DateTime& t) {
  static const platform::DateTime built = buildDay();
  if (t.year != built.year) return t.year > built.year;
  if (t.month != built.month) return t.month > built.month;
  return t.day >= built.day;
}

}  // namespace gps

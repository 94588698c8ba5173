#include "tablestore/day_number.hpp"

#include <cstring>

namespace tablestore {

namespace {

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && leap(y) ? 29 : kDays[m - 1];
}

// Floor division, so the formulas hold for any year.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

constexpr std::int64_t kFirst = 1721426;  // 0001-01-01
constexpr std::int64_t kLast = 5373484;   // 9999-12-31

}  // namespace

std::int64_t dayNumber(int year, int month, int day) {
  std::int64_t a = (14 - month) / 12;
  std::int64_t y = static_cast<std::int64_t>(year) + 4800 - a;
  std::int64_t m = month + 12 * a - 3;
  return day + (153 * m + 2) / 5 + 365 * y + floorDiv(y, 4) - floorDiv(y, 100) + floorDiv(y, 400) -
         32045;
}

void civilDate(std::int64_t jdn, int& year, int& month, int& day) {
  std::int64_t a = jdn + 32044;
  std::int64_t b = floorDiv(4 * a + 3, 146097);
  std::int64_t c = a - floorDiv(146097 * b, 4);
  std::int64_t d = floorDiv(4 * c + 3, 1461);
  std::int64_t e = c - floorDiv(1461 * d, 4);
  std::int64_t m = (5 * e + 2) / 153;
  day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
  month = static_cast<int>(m + 3 - 12 * (m / 10));
  year = static_cast<int>(100 * b + d - 4800 + m / 10);
}

std::int64_t readDate(const char* t) {
  int v[8];
  for (int i = 0; i < 8; ++i) {
    if (t[i] < '0' || t[i] > '9') return kNoDate;
    v[i] = t[i] - '0';
  }
  int year = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
  int month = v[4] * 10 + v[5];
  int day = v[6] * 10 + v[7];
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
    return kNoDate;
  return dayNumber(year, month, day);
}

bool writeDate(std::int64_t jdn, char* t) {
  if (jdn <= kNoDate) {
    std::memset(t, ' ', 8);
    return true;
  }
  if (jdn < kFirst || jdn > kLast) return false;
  int y, m, d;
  civilDate(jdn, y, m, d);
  const int parts[8] = {y / 1000, y / 100 % 10, y / 10 % 10, y % 10,
                        m / 10,   m % 10,       d / 10,      d % 10};
  for (int i = 0; i < 8; ++i) t[i] = static_cast<char>('0' + parts[i]);
  return true;
}

}  // namespace tablestore

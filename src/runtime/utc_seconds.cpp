#include "runtime/utc_seconds.hpp"

#include <array>

namespace runtime {

namespace {

constexpr std::array<int, 12> kDaysBefore{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

}  // namespace

std::int64_t systemSeconds(const platform::DateTime& t) {
  const std::int64_t year = t.year;
  std::int64_t days = 365 * (year - 1971) + (year - 1973) / 4;  // C++ division truncates, as the count needs
  if (t.month >= 1 && t.month <= 12) {
    days += kDaysBefore[static_cast<std::size_t>(t.month - 1)];
    if (t.month > 2 && year % 4 == 0) ++days;
  }
  days += t.day - 1;
  return ((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
}

}  // namespace runtime

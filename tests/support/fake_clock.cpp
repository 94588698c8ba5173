#include "support/fake_clock.hpp"

namespace testing_support {

namespace {
// Days from 1970-01-01 of a civil date, and back (proleptic Gregorian).
long long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}
void civilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe) + static_cast<int>(era * 400) + (m <= 2);
}
}  // namespace

FakeClock::FakeClock() {
  epoch_.year = 2005;
  epoch_.month = 1;
  epoch_.day = 1;
  epoch_.dayOfWeek = 6;  // a Saturday
}

void FakeClock::sleep(std::uint32_t milliseconds) {
  now_ += milliseconds;
  slept_ += milliseconds;
  if (onSleep) onSleep(now_.load());
}

void FakeClock::setLocalTime(const platform::DateTime& at) {
  std::lock_guard<std::mutex> guard(lock_);
  epoch_ = at;
  now_ = 0;
}

platform::DateTime FakeClock::localTime() {
  platform::DateTime base;
  {
    std::lock_guard<std::mutex> guard(lock_);
    base = epoch_;
  }
  long long ms = static_cast<long long>(now_.load()) + base.millisecond +
                 1000LL * (base.second + 60LL * (base.minute + 60LL * base.hour));
  long long days = daysFromCivil(base.year, base.month, base.day) + ms / 86400000LL;
  ms %= 86400000LL;
  platform::DateTime out;
  civilFromDays(days, out.year, out.month, out.day);
  out.hour = static_cast<int>(ms / 3600000);
  out.minute = static_cast<int>(ms / 60000 % 60);
  out.second = static_cast<int>(ms / 1000 % 60);
  out.millisecond = static_cast<int>(ms % 1000);
  out.dayOfWeek = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  return out;
}

platform::DateTime FakeClock::systemTime() { return localTime(); }

}  // namespace testing_support

#include "support/fake_clock.hpp"

#include "base/civil_date.hpp"

namespace testing_support {

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
  long long days = ::base::daysFromCivil(base.year, base.month, base.day) + ms / 86400000LL;
  ms %= 86400000LL;
  platform::DateTime out;
  const ::base::CivilDate date = ::base::civilFromDays(days);
  out.year = date.year;
  out.month = date.month;
  out.day = date.day;
  out.hour = static_cast<int>(ms / 3600000);
  out.minute = static_cast<int>(ms / 60000 % 60);
  out.second = static_cast<int>(ms / 1000 % 60);
  out.millisecond = static_cast<int>(ms % 1000);
  out.dayOfWeek = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  return out;
}

platform::DateTime FakeClock::systemTime() { return localTime(); }

}  // namespace testing_support

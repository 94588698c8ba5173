#include <time.h>

#include <cerrno>

#include "platform/clock_set.hpp"
#include "platform/errors.hpp"
#include "platform/posix/errno_map.hpp"

namespace platform {

namespace {

bool inRange(const DateTime& t) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return t.year >= 1970 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= kDays[t.month - 1] &&
         t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

struct tm toTm(const DateTime& t) {
  struct tm m{};
  m.tm_year = t.year - 1900;
  m.tm_mon = t.month - 1;
  m.tm_mday = t.day;
  m.tm_hour = t.hour;
  m.tm_min = t.minute;
  m.tm_sec = t.second;
  m.tm_isdst = -1;
  return m;
}

// mktime and timegm move a day that does not exist (30 February) into the
// next month; such a date is refused, not set.
bool sameDate(const struct tm& m, const DateTime& t) {
  return m.tm_year == t.year - 1900 && m.tm_mon == t.month - 1 && m.tm_mday == t.day;
}

int setEpoch(time_t seconds) {
  struct timespec ts{seconds, 0};
  if (::clock_settime(CLOCK_REALTIME, &ts) == 0) return kOk;
  const int err = errno;
  // Setting the clock needs CAP_SYS_TIME: say so as Windows does.
  if (err == EPERM) return kErrPrivilegeNotHeld;
  return posix::fromErrno(err);
}

class PosixClockSetter : public ClockSetter {
 public:
  int setUtc(const DateTime& t) override {
    if (!inRange(t)) return kErrInvalidParameter;
    struct tm m = toTm(t);
    m.tm_isdst = 0;
    const time_t s = ::timegm(&m);
    if (s == static_cast<time_t>(-1) || !sameDate(m, t)) return kErrInvalidParameter;
    return setEpoch(s);
  }
  int setLocal(const DateTime& t) override {
    if (!inRange(t)) return kErrInvalidParameter;
    struct tm m = toTm(t);
    const time_t s = ::mktime(&m);
    if (s == static_cast<time_t>(-1) || !sameDate(m, t)) return kErrInvalidParameter;
    return setEpoch(s);
  }
};

}  // namespace

ClockSetter& nativeClockSetter() {
  static PosixClockSetter setter;
  return setter;
}

}  // namespace platform

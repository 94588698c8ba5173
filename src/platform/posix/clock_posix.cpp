#include <time.h>

#include <cerrno>

#include "platform/clock.hpp"

namespace platform {

namespace {

DateTime fromTm(const struct tm& t, long nanos) {
  DateTime d;
  d.year = t.tm_year + 1900;
  d.month = t.tm_mon + 1;
  d.day = t.tm_mday;
  d.hour = t.tm_hour;
  d.minute = t.tm_min;
  d.second = t.tm_sec;
  d.millisecond = static_cast<int>(nanos / 1000000);
  d.dayOfWeek = t.tm_wday;
  return d;
}

class PosixClock : public Clock {
 public:
  std::uint64_t ticks() override {
    struct timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
  }
  void sleep(std::uint32_t milliseconds) override {
    struct timespec ts{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
  }
  DateTime localTime() override {
    struct timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    struct tm t{};
    ::localtime_r(&ts.tv_sec, &t);
    return fromTm(t, ts.tv_nsec);
  }
  DateTime systemTime() override {
    struct timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    struct tm t{};
    ::gmtime_r(&ts.tv_sec, &t);
    return fromTm(t, ts.tv_nsec);
  }
};

}  // namespace

Clock& nativeClock() {
  static PosixClock c;
  return c;
}

}  // namespace platform

// The system clock: the tick counter, Sleep and the local and UTC time.
#include <windows.h>

#include "platform/clock.hpp"

namespace platform {

namespace {

DateTime fromSystemTime(const SYSTEMTIME& st) {
  DateTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.millisecond = st.wMilliseconds;
  t.dayOfWeek = st.wDayOfWeek;  // 0 = Sunday, as DateTime counts
  return t;
}

class Win32Clock final : public Clock {
 public:
  std::uint64_t ticks() override { return GetTickCount64(); }
  void sleep(std::uint32_t milliseconds) override { Sleep(milliseconds); }
  DateTime localTime() override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return fromSystemTime(st);
  }
  DateTime systemTime() override {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return fromSystemTime(st);
  }
};

}  // namespace

Clock& nativeClock() {
  static Win32Clock clock;
  return clock;
}

}  // namespace platform

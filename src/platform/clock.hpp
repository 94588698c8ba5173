#pragma once
// Time and waiting. Every wait in the program goes through the current clock,
// so tests run retry rules and time-outs in milliseconds with a fake one.
#include <cstdint>

namespace platform {

struct DateTime {
  int year = 0, month = 0, day = 0;  // month 1-12, day 1-31
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 0;  // 0 = Sunday
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds from an arbitrary start; never goes backwards.
  virtual std::uint64_t ticks() = 0;
  virtual void sleep(std::uint32_t milliseconds) = 0;
  virtual DateTime localTime() = 0;
  virtual DateTime systemTime() = 0;  // UTC
};

Clock& nativeClock();
Clock& clock();

class ScopedClock {
 public:
  explicit ScopedClock(Clock& replacement);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock* previous_;
};

// Waits n × 10 ms on the clock.
void waitTicks(int n);

}  // namespace platform

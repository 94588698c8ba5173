#pragma once
// A clock the test moves by hand: sleeps wait a real millisecond and leave
// the time alone, so a reader thread that counts silence sees only the time
// the test gives it (unlike FakeClock, whose sleeps move time on).
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/clock.hpp"

namespace testing_support {

class ManualClock : public platform::Clock {
 public:
  std::uint64_t ticks() override { return now.load(); }
  void sleep(std::uint32_t) override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
  platform::DateTime localTime() override { return systemTime(); }
  // 15 June 2030, noon, whatever the ticks.
  platform::DateTime systemTime() override {
    platform::DateTime t;
    t.year = 2030, t.month = 6, t.day = 15, t.hour = 12, t.minute = 0, t.second = 0;
    return t;
  }
  std::atomic<std::uint64_t> now{1000};
};

}  // namespace testing_support

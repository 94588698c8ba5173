#pragma once
// A clock whose sleeps return at once and move time forward, so tests run
// retry rules and time-outs in milliseconds. Thread-safe.
#include <atomic>
#include <functional>
#include <mutex>

#include "platform/clock.hpp"

namespace testing_support {

class FakeClock : public platform::Clock {
 public:
  FakeClock();
  std::uint64_t ticks() override { return now_.load(); }
  void sleep(std::uint32_t milliseconds) override;
  platform::DateTime localTime() override;
  platform::DateTime systemTime() override;

  void advance(std::uint64_t milliseconds) { now_ += milliseconds; }
  // Sets the wall-clock date and time that ticks 0 stands for.
  void setLocalTime(const platform::DateTime& at);
  std::uint64_t sleptMs() const { return slept_.load(); }
  // Called after each sleep (tests use it to change the world as time passes).
  std::function<void(std::uint64_t now)> onSleep;

 private:
  std::atomic<std::uint64_t> now_{0};
  std::atomic<std::uint64_t> slept_{0};
  std::mutex lock_;
  platform::DateTime epoch_;
};

}  // namespace testing_support

#pragma once
// Names of sessions and the register of units connected now. Both are shared
// by every connection's thread of one server.
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

#include "platform/clock.hpp"

namespace host {

// "YYYYMMDDTHHMMSSZ-NNNNNN" from a UTC time and a counter (taken modulo a
// million), so names sort by time and two of one second differ.
std::string sessionStamp(const platform::DateTime& utc, std::uint32_t counter);

// Hands out session names: the UTC time now and a counter that grows with
// every name, so no two names of one server are the same.
class SessionNamer {
 public:
  std::string next();

 private:
  std::mutex lock_;
  std::uint32_t counter_ = 0;
};

// The units in session now. A unit identifier is held by one connection at
// a time, compared in any case (folder names on Windows are).
class ActiveUnits {
 public:
  // True when unit was not held and now is.
  [[nodiscard]] bool claim(std::string_view unit);
  void release(std::string_view unit);

 private:
  std::mutex lock_;
  std::set<std::string> units_;
};

// Holds a claim for its lifetime.
class UnitClaim {
 public:
  UnitClaim(ActiveUnits& units, std::string unit) : units_(units), unit_(std::move(unit)) {
    held_ = units_.claim(unit_);
  }
  ~UnitClaim() {
    if (held_) units_.release(unit_);
  }
  UnitClaim(const UnitClaim&) = delete;
  UnitClaim& operator=(const UnitClaim&) = delete;
  bool held() const { return held_; }

 private:
  ActiveUnits& units_;
  std::string unit_;
  bool held_ = false;
};

}  // namespace host

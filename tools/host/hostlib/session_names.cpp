#include "hostlib/session_names.hpp"

#include "base/text.hpp"

namespace host {

std::string sessionStamp(const platform::DateTime& t, std::uint32_t counter) {
  return base::format("%04d%02d%02dT%02d%02d%02dZ-%06u", t.year, t.month, t.day, t.hour, t.minute,
                      t.second, static_cast<unsigned>(counter % 1000000u));
}

std::string SessionNamer::next() {
  std::uint32_t n;
  {
    std::lock_guard<std::mutex> hold(lock_);
    n = ++counter_;
  }
  return sessionStamp(platform::clock().systemTime(), n);
}

bool ActiveUnits::claim(std::string_view unit) {
  std::lock_guard<std::mutex> hold(lock_);
  return units_.insert(base::toUpper(unit)).second;
}

void ActiveUnits::release(std::string_view unit) {
  std::lock_guard<std::mutex> hold(lock_);
  units_.erase(base::toUpper(unit));
}

}  // namespace host

#include "transfer/clock_trailer.hpp"

#include "base/le.hpp"

namespace transfer {

namespace {

constexpr int kAddedSeconds = 5;

}  // namespace

HostClock readClockTrailer(const std::uint8_t* p) {
  HostClock c;
  std::uint16_t* fields[] = {&c.year, &c.month, &c.dayOfWeek, &c.day,
                             &c.hour, &c.minute, &c.second, &c.milliseconds};
  for (std::size_t i = 0; i < 8; ++i) *fields[i] = base::getU16(p + 2 * i);
  return c;
}

std::array<std::uint8_t, kClockTrailerSize> clockTrailerBytes(const HostClock& c) {
  std::array<std::uint8_t, kClockTrailerSize> out{};
  const std::uint16_t fields[] = {c.year, c.month, c.dayOfWeek, c.day,
                                  c.hour, c.minute, c.second, c.milliseconds};
  for (std::size_t i = 0; i < 8; ++i) base::putU16(&out[2 * i], fields[i]);
  return out;
}

bool clockValid(const HostClock& c) {
  return c.year >= 2007 && c.year <= kLastClockYear && c.month >= 1 && c.month <= 12 && c.day >= 1 &&
         c.day <= 31 && c.dayOfWeek <= 7 && c.hour <= 23 && c.minute <= 59 &&
         c.second <= 59;
}

std::optional<HostClock> clockToSet(const HostClock& clock) {
  if (!clockValid(clock)) return std::nullopt;
  HostClock out = clock;
  // The day is never carried into: the last seconds of a day stay as sent.
  if (out.hour == 23 && out.minute == 59 && out.second >= 60 - kAddedSeconds) return out;
  out.second = static_cast<std::uint16_t>(out.second + kAddedSeconds);
  if (out.second >= 60) {
    out.second = static_cast<std::uint16_t>(out.second - 60);
    if (++out.minute == 60) {
      out.minute = 0;
      ++out.hour;
    }
  }
  return out;
}

}  // namespace transfer

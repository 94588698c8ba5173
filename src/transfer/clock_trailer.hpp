#pragma once
// The date and time a host may append to its control file to set the PC's
// clock: eight 16-bit little-endian numbers in the order below (16 bytes).
#include <array>
#include <cstdint>
#include <optional>

namespace transfer {

inline constexpr std::size_t kClockTrailerSize = 16;

struct HostClock {
  std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
  std::uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;

  bool operator==(const HostClock&) const = default;
};

// The 16 bytes, and back (every bit pattern reads; validity is clockToSet's).
HostClock readClockTrailer(const std::uint8_t* bytes);
std::array<std::uint8_t, kClockTrailerSize> clockTrailerBytes(const HostClock& clock);

// A trailer's year may run to this: a fixed end a few years off would have
// units ignore every host's clock once it passed.
inline constexpr std::uint16_t kLastClockYear = 2099;

// True for year 2007-kLastClockYear, month 1-12, day 1-31, day of week 0-7, hour 0-23,
// minute 0-59 and second 0-59 (milliseconds are not checked). The day of
// week is taken both as a Windows SYSTEMTIME holds it (0 = Sunday to 6) and
// counted from 1 (1-7); setting the clock never reads it.
bool clockValid(const HostClock& clock);

// The local time to set for a trailer: nothing when the trailer is not
// valid; otherwise the trailer 5 seconds later, the seconds carrying into
// the minutes and the minutes into the hours, except from 23:59:55 on,
// where the time is taken as it stands so the date never moves.
std::optional<HostClock> clockToSet(const HostClock& clock);

}  // namespace transfer

#pragma once
// When GPS time may set the PC clock: a real date and time, not before the
// program was built (a receiver with a stale almanac or a replayed log must
// not send the clock backwards), and only where the user may set it.
#include "platform/clock.hpp"

namespace gps {

// Whether t is a date and time that exists (year 2000-2099).
bool realDateTime(const platform::DateTime& t);
// Whether t lies on or after the day this program was built.
bool notBeforeBuild(const platform::DateTime& t);
// Whether the PC clock pc is far enough from GPS time gps to be set: more
// than 2 seconds. A time stamp of whole seconds that arrives a little late
// cannot mend a clock that is already that close; setting it would only
// move it back and forth.
bool worthSetting(const platform::DateTime& gps, const platform::DateTime& pc);

}  // namespace gps

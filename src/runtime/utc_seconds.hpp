#pragma once
// The count of seconds built-in 115 gives for a UTC date and time: the
// system's own count, not seconds from 1970. With D = 365 × (year − 1971) +
// (year − 1973) ÷ 4 (integer division rounding toward zero) + the days of the
// year before the month (February with 29 days in years divisible by 4) +
// day − 1, it is ((D × 24 + hour) × 60 + minute) × 60 + second.
#include <cstdint>

#include "platform/clock.hpp"

namespace runtime {

// Months outside 1-12 count no days before them.
std::int64_t systemSeconds(const platform::DateTime& t);

}  // namespace runtime

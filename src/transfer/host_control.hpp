#pragma once
// The host's control file "XferFromPC.bin" as the session reads it: what
// the host sends, how many of our files it received, and perhaps a date and
// time for the PC's clock.
#include <cstdint>
#include <string>

#include "transfer/control_file.hpp"

namespace platform {
class ClockSetter;
}

namespace transfer {

// The largest host control file: the header, 65535 entries, the trailer.
inline constexpr std::int64_t kMaxHostControlBytes =
    ControlHeader::kSize + 65535LL * ControlEntry::kSize + kClockTrailerSize;

// Reads and parses the file at path. True (out and fileBytes set) when it
// could be read and parseControlFile accepted it; false otherwise.
[[nodiscard]] bool readHostControl(const std::string& path, ControlFile& out, std::uint32_t& fileBytes);

// Sets the local time from the file's trailer when clockToSet gives a time
// (through ClockSetter::setLocalFromHost). True only when the clock was set;
// a trailer that is missing or invalid, a null setter, and a setter that
// refuses (kErrPrivilegeNotHeld where the user may not set the clock) all
// leave it as it was without a message.
bool applyHostClock(const ControlFile& file, platform::ClockSetter* clock);

}  // namespace transfer

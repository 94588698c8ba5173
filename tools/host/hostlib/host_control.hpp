#pragma once
// The host's answer files: the control file "XferFromPC.bin" that lists what
// follows and acknowledges the unit's datasets, and the completion file that
// ends the files of a session.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostlib/outbox.hpp"
#include "platform/clock.hpp"
#include "transfer/clock_trailer.hpp"

namespace host {

inline constexpr const char* kCompletionFileName = "xfer_complete.bin";
inline constexpr const char* kHostVersionText = "tallyfin-host 1.0";

// The clock trailer for a local time. Days of the week are sent 1 (Sunday)
// to 7 (Saturday): the unit takes only 1-7.
transfer::HostClock trailerFor(const platform::DateTime& local);

// The host control file's bytes: a header for unit acknowledging
// datasetsReceived, counting the packages and messages offered, the byte
// total of the offer; one entry per offered file in order (name, size, type
// letter, write time as both times, folder); the trailer when clock is set.
// False when an entry cannot be built (a name that does not fit: listOffer
// leaves those out) or the unit identifier does not fit the header.
[[nodiscard]] bool buildHostControl(const std::string& unit, std::uint16_t datasetsReceived,
                                    const std::vector<OfferedFile>& offer,
                                    const std::optional<transfer::HostClock>& clock,
                                    std::vector<std::uint8_t>& out);

// The completion file's text.
std::string completionText(const std::string& unit, const std::string& session);

}  // namespace host

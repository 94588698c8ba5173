#pragma once
// Receiving one file from the host: command 'b', the 280-byte header, then
// the data in pieces of at most 16384 bytes.
//
// Files arrive as partial files in the folder kPartialFolderName under the
// receive folder, under their received names: a received name is a plain
// file name (no separator), so nothing a host names can reach into or out of
// that folder, and nothing in the receive folder or a target folder changes
// until a verified session places the files.
#include <cstdint>
#include <string>

#include "transfer/link_wait.hpp"
#include "transfer/session.hpp"

namespace transfer {

inline constexpr const char* kPartialFolderName = "~partial";

// Codes of receiveFile besides 0 and the link's errors.
inline constexpr int kReceiveBadName = -201;      // not a plain file name; nothing written
inline constexpr int kReceiveTooLarge = -202;     // above maxBytes or the folder's free space
inline constexpr int kReceiveWriteFailed = -203;  // the partial file could not be made or written

// Receives one file into partialFolder. 0 with name set to the received name;
// otherwise kLinkCancelled, a link error (a failed header shows
// "HHN_ReceiveData error=%d" with its text, caption "TCPIP Receive Error"),
// or one of the codes above. A failed file leaves no partial file behind.
// progress gets the bytes received after each piece.
[[nodiscard]] int receiveFile(LinkWait& wait, const std::string& partialFolder, char sep,
                              std::uint32_t maxBytes, SessionProgress& progress, std::string& name);

}  // namespace transfer

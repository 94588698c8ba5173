#pragma once
// The host link's error codes and the table of texts messages show for them.
#include <string_view>

namespace transfer {

// Link errors (0 means none); any other value is a Windows Sockets error
// (platform/socket.hpp), for example 10060 for a wait that timed out.
inline constexpr int kLinkOk = 0;
inline constexpr int kLinkStartFailed = 1;       // the socket library could not be started
inline constexpr int kLinkMonitorNotCreated = 4;  // the monitor thread could not be created
inline constexpr int kLinkMonitorNotStopped = 5;  // the monitor did not end within 5000 ms
inline constexpr int kLinkNotConnected = 6;       // a request with no connection
inline constexpr int kLinkRequestPending = 7;     // a request while another is still pending
inline constexpr int kLinkCleanupFailed = 8;      // the socket library clean-up failed
inline constexpr int kLinkCancelled = -1;         // the user cancelled while the session waited
inline constexpr int kLinkNotQueued = -2;         // the session could not queue a send
inline constexpr int kLinkFileReceiveError = -100;

// The row of code in the error-text table; 0 when the table has no row for
// it (row 0 is code 0, "Error None"). Callers show a text only for a row > 0.
[[nodiscard]] int linkErrorIndex(int code);
// The text of a row; "Error None" for row 0 and for a row outside the table.
std::string_view linkErrorText(int index);
// The number of rows.
int linkErrorRows();

}  // namespace transfer

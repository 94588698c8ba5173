#pragma once
// One unit's session on one accepted connection, from the login block to 'Z':
//   login block (300 bytes)  the unit identifier, which names its folders;
//   'c' + header + data      a file from the unit: first its control file
//                            "XferFromHH~...", then its dataset files;
//   'b'                      the next file for the unit: first "XferFromPC.bin",
//                            then each file it lists, then the completion file;
//   'Z'                      the end.
// Everything the unit sends is outside input and is checked before use; any
// fault ends the session (the connection is closed) and removes what it sent.
// The session is kept only when it ends with 'Z' after its control file, as
// many dataset files as that announced, and every file the host had for it:
// then the inbox folder gets its session name and the unit's own outbox files
// move to sent/.
#include <atomic>
#include <cstdint>
#include <string>

#include "hostlib/host_log.hpp"
#include "hostlib/host_tree.hpp"
#include "hostlib/session_names.hpp"
#include "platform/socket.hpp"

namespace host {

// Room kept free on the inbox's volume beyond a file about to arrive.
inline constexpr std::uint64_t kFreeSpaceReserve = std::uint64_t{16} << 20;
// A unit control file above this is refused (65535 entries and the trailer).
inline constexpr std::uint64_t kMaxControlFileBytes = 608 + 65535ull * 456 + 16;

struct SessionLimits {
  std::uint32_t idleMs = 60000;
  std::uint64_t maxFileBytes = std::uint64_t{1} << 30;
  bool sendClock = false;
};

// What every session of a server shares.
struct HostContext {
  HostTree tree;
  SessionLimits limits;
  SessionNamer& namer;
  ActiveUnits& units;
  HostLog& log;
  const std::atomic<bool>& stopping;
};

// Serves one session on socket (peer is its address text for the log) and
// returns what happened; the caller logs it and closes the socket.
SessionRecord serveUnit(platform::TcpSocket& socket, const std::string& peer, HostContext& context);

}  // namespace host

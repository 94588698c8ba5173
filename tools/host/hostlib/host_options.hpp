#pragma once
// The host server's command line.
#include <cstdint>
#include <string>
#include <vector>

namespace host {

inline constexpr std::uint16_t kDefaultPort = 50000;
inline constexpr int kDefaultMaxConnections = 256;
// Above the unit's own 15-second wait, so a slow unit gives up first.
inline constexpr std::uint32_t kDefaultIdleSeconds = 60;
inline constexpr std::uint64_t kDefaultMaxFileBytes = std::uint64_t{1} << 30;

struct HostOptions {
  std::string root;                 // required
  std::uint16_t port = kDefaultPort;
  std::string listen = "0.0.0.0";   // dotted IPv4
  int maxConnections = kDefaultMaxConnections;
  std::uint32_t idleSeconds = kDefaultIdleSeconds;
  std::uint64_t maxFileBytes = kDefaultMaxFileBytes;
  bool sendClock = false;
  bool once = false;
};

enum class OptionsResult { kRun, kHelp, kError };

// Reads the arguments (without the program name). kRun with out filled;
// kHelp for --help; kError with error saying what is wrong (an unknown
// option, a missing or bad value, no --root). Numbers must be whole decimal
// numbers in range: port 0-65535 (0: the system picks), connections 1-100000,
// idle time-out 1-86400 s, file bytes 1 to 4294967295 (the header's 32 bits).
[[nodiscard]] OptionsResult parseHostOptions(const std::vector<std::string>& args, HostOptions& out,
                                             std::string& error);

// The --help text.
std::string hostUsage();

}  // namespace host

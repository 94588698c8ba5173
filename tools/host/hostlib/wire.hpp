#pragma once
// Whole reads and writes on one accepted connection. Every wait is bounded by
// the idle time-out (a unit silent that long is dropped) and by the server's
// stop flag, looked at every slice of the wait.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/socket.hpp"

namespace host {

enum class WireResult {
  kOk = 0,
  kClosed,    // the unit closed the connection
  kIdle,      // nothing moved for the idle time-out
  kStopping,  // the server is stopping
  kFailed,    // a socket error (error() holds it)
};

const char* wireResultText(WireResult r);

class Wire {
 public:
  Wire(platform::TcpSocket& socket, std::uint32_t idleMs, const std::atomic<bool>& stopping)
      : socket_(socket), idleMs_(idleMs), stopping_(stopping) {}

  // Receives exactly size bytes.
  [[nodiscard]] WireResult read(void* data, std::size_t size);
  // Sends all size bytes.
  [[nodiscard]] WireResult write(const void* data, std::size_t size);

  int error() const { return error_; }
  std::uint64_t bytesIn() const { return bytesIn_; }
  std::uint64_t bytesOut() const { return bytesOut_; }

 private:
  // Waits until ready, the idle time running from the last byte moved.
  WireResult waitFor(platform::SocketWait what, std::uint64_t idleSince);

  platform::TcpSocket& socket_;
  std::uint32_t idleMs_;
  const std::atomic<bool>& stopping_;
  int error_ = 0;
  std::uint64_t bytesIn_ = 0, bytesOut_ = 0;
};

}  // namespace host

#include "hostlib/wire.hpp"

#include <algorithm>

#include "platform/clock.hpp"

namespace host {

namespace {

// How often a wait looks at the stop flag.
constexpr std::uint32_t kSliceMs = 200;

}  // namespace

const char* wireResultText(WireResult r) {
  switch (r) {
    case WireResult::kOk: return "ok";
    case WireResult::kClosed: return "unit closed the connection";
    case WireResult::kIdle: return "idle time-out";
    case WireResult::kStopping: return "server stopping";
    case WireResult::kFailed: return "socket error";
  }
  return "?";
}

WireResult Wire::waitFor(platform::SocketWait what, std::uint64_t idleSince) {
  for (;;) {
    if (stopping_.load()) return WireResult::kStopping;
    const std::uint64_t now = platform::clock().ticks();
    const std::uint64_t waited = now - idleSince;
    if (waited >= idleMs_) return WireResult::kIdle;
    const auto slice = static_cast<std::uint32_t>(std::min<std::uint64_t>(kSliceMs, idleMs_ - waited));
    int rc = socket_.wait(what, slice);
    if (rc == 0) return WireResult::kOk;
    if (rc != platform::kSocketTimedOut) {
      error_ = rc;
      return WireResult::kFailed;
    }
  }
}

WireResult Wire::read(void* data, std::size_t size) {
  auto* p = static_cast<std::uint8_t*>(data);
  std::uint64_t idleSince = platform::clock().ticks();
  while (size > 0) {
    if (WireResult w = waitFor(platform::SocketWait::Readable, idleSince); w != WireResult::kOk) return w;
    std::size_t got = 0;
    int rc = socket_.receive(p, size, got);
    if (rc == platform::kWsaWouldBlock) continue;
    if (rc != 0) {
      error_ = rc;
      return WireResult::kFailed;
    }
    if (got == 0) return WireResult::kClosed;
    p += got;
    size -= got;
    bytesIn_ += got;
    idleSince = platform::clock().ticks();
  }
  return WireResult::kOk;
}

WireResult Wire::write(const void* data, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  std::uint64_t idleSince = platform::clock().ticks();
  while (size > 0) {
    if (WireResult w = waitFor(platform::SocketWait::Writable, idleSince); w != WireResult::kOk) return w;
    std::size_t sent = 0;
    int rc = socket_.send(p, size, sent);
    if (rc != 0) {
      error_ = rc;
      return WireResult::kFailed;
    }
    if (sent == 0) continue;
    p += sent;
    size -= sent;
    bytesOut_ += sent;
    idleSince = platform::clock().ticks();
  }
  return WireResult::kOk;
}

}  // namespace host

#include "transfer/link_wait.hpp"

#include "platform/clock.hpp"
#include "transfer/link_errors.hpp"
#include "transfer/session.hpp"

namespace transfer {

namespace {

constexpr std::uint32_t kPollMs = 10;

}  // namespace

int LinkWait::send(const void* buffer, std::uint32_t length) {
  const int rc = link_.sendData(buffer, length);
  return rc != kLinkOk ? rc : finish();
}

int LinkWait::receive(void* buffer, std::uint32_t length) {
  const int rc = link_.receiveData(buffer, length);
  return rc != kLinkOk ? rc : finish();
}

int LinkWait::sendCommand(std::uint8_t command) {
  const std::uint8_t byte = command;
  return send(&byte, 1);
}

int LinkWait::finish() {
  for (;;) {
    std::uint32_t progress = 0;
    // Every poll is at most 10 ms, so the cancel flag is seen in time, and
    // ends at once when the request does.
    const int state = link_.waitRequest(kPollMs, progress);
    if (state == kRequestIdle) return kLinkOk;
    if (state == kRequestFailed) {
      const int error = link_.lastError();
      return error != 0 ? error : kLinkFileReceiveError;
    }
    if (view_.cancelled()) {
      // The request still points at the caller's buffer: stop the socket
      // thread before the caller may let the buffer go.
      (void)link_.disconnect();
      return kLinkCancelled;
    }
  }
}

bool LinkWait::pause(int ms) {
  for (int waited = 0; waited < ms; waited += static_cast<int>(kPollMs)) {
    if (view_.cancelled()) return false;
    platform::clock().sleep(kPollMs);
  }
  return !view_.cancelled();
}

}  // namespace transfer

#pragma once
// Moving bytes over a HostLink the way a session waits for it: queue one
// request, then poll its state every 10 ms, checking the user's cancel flag
// on every poll.
#include <cstdint>

#include "transfer/link.hpp"

namespace transfer {

class SessionView;

class LinkWait {
 public:
  LinkWait(HostLink& link, SessionView& view) : link_(link), view_(view) {}

  // Sends or receives exactly length bytes. 0 when all moved; kLinkCancelled
  // when the user cancelled (the link is then disconnected at once, so the
  // socket thread never touches buffer after the call); the queueing error
  // (kLinkNotConnected ...); or the link's last error when the request failed.
  [[nodiscard]] int send(const void* buffer, std::uint32_t length);
  [[nodiscard]] int receive(void* buffer, std::uint32_t length);
  // One command byte.
  [[nodiscard]] int sendCommand(std::uint8_t command);

  // Waits ms on the platform clock in 10 ms steps; false when the user
  // cancelled during the pause.
  [[nodiscard]] bool pause(int ms);

  HostLink& link() { return link_; }
  SessionView& view() { return view_; }

 private:
  [[nodiscard]] int finish();

  HostLink& link_;
  SessionView& view_;
};

}  // namespace transfer

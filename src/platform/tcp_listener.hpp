#pragma once
// A listening TCP socket on an IPv4 address: the host's end of the transfer
// link. Errors are Windows Sockets numbers, as socket.hpp reports them. On
// Windows the caller has started the socket library (startSockets()).
#include <cstdint>
#include <memory>
#include <string>

#include "platform/socket.hpp"

namespace platform {

class TcpListener {
 public:
  virtual ~TcpListener() = default;  // closes when still open

  // The port it listens on (the system's pick when port 0 was asked for).
  virtual std::uint16_t port() const = 0;

  // Waits up to timeoutMs for a connection. 0 with out set to the accepted
  // socket (non-blocking, as connectTcp's) and peer to its "a.b.c.d:port";
  // kSocketTimedOut when none came in time; otherwise an error (out null).
  [[nodiscard]] virtual int accept(std::uint32_t timeoutMs, std::unique_ptr<TcpSocket>& out,
                                   std::string& peer) = 0;

  // Stops listening. 0, or an error.
  virtual int close() = 0;
};

// Listens on the dotted IPv4 address ("0.0.0.0" for every interface) and
// port with room for backlog waiting connections. The listener, or null with
// error set: 10022 for an address that is not dotted IPv4, 10048 when the
// port is taken, 10049 for an address not of this machine, ...
std::unique_ptr<TcpListener> listenTcp(const std::string& address, std::uint16_t port, int backlog,
                                       int& error);

}  // namespace platform

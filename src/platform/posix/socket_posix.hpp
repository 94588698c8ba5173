#pragma once
// What the listening socket shares with the client socket on POSIX.
#include <memory>

#include "platform/socket.hpp"

namespace platform::posix {

// errno as the Windows Sockets number the sockets report.
int fromSocketErrno(int err);
// A TcpSocket owning fd, a connected non-blocking stream socket (an accepted one).
std::unique_ptr<TcpSocket> adoptSocket(int fd);

}  // namespace platform::posix

#pragma once
// What the listening socket shares with the client socket on POSIX.
#include <cstdint>
#include <memory>

#include "platform/socket.hpp"

namespace platform::posix {

// errno as the Windows Sockets number the sockets report.
int fromSocketErrno(int err);
// A TcpSocket owning fd, a connected non-blocking stream socket (an accepted one).
std::unique_ptr<TcpSocket> adoptSocket(int fd);
// poll() for one descriptor, restarted after a signal with the time left:
// 0 with revents set, kSocketTimedOut, or the error.
int pollOne(int fd, short events, std::uint32_t timeoutMs, short& revents);

}  // namespace platform::posix

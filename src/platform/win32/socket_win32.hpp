#pragma once
// What the listening socket shares with the client socket on Windows.
#include <cstdint>
#include <memory>

#include "platform/socket.hpp"

namespace platform::win32 {

// A TcpSocket owning s (a SOCKET), a connected non-blocking stream socket.
std::unique_ptr<TcpSocket> adoptSocket(std::uintptr_t s);

}  // namespace platform::win32

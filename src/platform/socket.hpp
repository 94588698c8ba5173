#pragma once
// The TCP client socket: one stream connection to a dotted IPv4 address.
// Every failure is a Windows Sockets error number (below) on every system,
// because the host link stores and shows those numbers; POSIX translates errno.
// The connected socket is non-blocking: send and receive move what the system
// takes at once, and wait() is how a caller waits for more.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Windows Sockets error numbers the socket reports.
inline constexpr int kWsaInterrupted = 10004;
inline constexpr int kWsaAccessDenied = 10013;
inline constexpr int kWsaInvalidArgument = 10022;
inline constexpr int kWsaTooManySockets = 10024;
inline constexpr int kWsaWouldBlock = 10035;
inline constexpr int kWsaNotSocket = 10038;
inline constexpr int kWsaMessageSize = 10040;
inline constexpr int kWsaAddressFamily = 10047;
inline constexpr int kWsaAddressInUse = 10048;
inline constexpr int kWsaAddressNotAvailable = 10049;
inline constexpr int kWsaNetworkDown = 10050;
inline constexpr int kWsaNetworkUnreachable = 10051;
inline constexpr int kWsaNetworkReset = 10052;
inline constexpr int kWsaConnectionAborted = 10053;
inline constexpr int kWsaConnectionReset = 10054;
inline constexpr int kWsaNoBuffers = 10055;
inline constexpr int kWsaAlreadyConnected = 10056;
inline constexpr int kWsaNotConnected = 10057;
inline constexpr int kWsaShutDown = 10058;
inline constexpr int kWsaTimedOut = 10060;
inline constexpr int kWsaConnectionRefused = 10061;
inline constexpr int kWsaHostDown = 10064;
inline constexpr int kWsaHostUnreachable = 10065;
inline constexpr int kWsaSystemNotReady = 10091;
inline constexpr int kWsaVersionNotSupported = 10092;
inline constexpr int kWsaNotInitialised = 10093;
inline constexpr int kWsaDisconnected = 10101;

// Starts the socket library for this caller (Windows Sockets 2.2; nothing on
// POSIX). 0, or an error (10091, 10092, ...). Each successful start is matched
// by one cleanupSockets().
[[nodiscard]] int startSockets();
// Ends one start. 0, or an error (10093 when there was no start).
[[nodiscard]] int cleanupSockets();

enum class SocketWait { Readable, Writable };

// wait()'s answer when the time ran out first.
inline constexpr int kSocketTimedOut = -1;

class TcpSocket {
 public:
  virtual ~TcpSocket() = default;  // closes when still open

  // Waits up to timeoutMs until the socket is readable (data, or the peer
  // closed, or the socket was shut down) or writable. 0 when it is,
  // kSocketTimedOut when the time ran out, or an error.
  [[nodiscard]] virtual int wait(SocketWait what, std::uint32_t timeoutMs) = 0;

  // Sends up to size bytes; sent is how many the system took (0 when its
  // buffer is full: not an error). 0, or an error (10054 reset, 10053, ...).
  [[nodiscard]] virtual int send(const void* data, std::size_t size, std::size_t& sent) = 0;

  // Receives up to size bytes; received is how many arrived. 0 with
  // received 0 means the peer closed the connection; kWsaWouldBlock when
  // nothing is there yet. Otherwise 0, or an error.
  [[nodiscard]] virtual int receive(void* data, std::size_t size, std::size_t& received) = 0;

  // Shuts both directions. Safe to call from another thread while one is in
  // wait() (POSIX: that wait returns at once, readable; Windows may let it run
  // to its time-out). 0, or an error (10057 when not connected, which callers
  // may ignore).
  virtual int shutdownBoth() = 0;

  // Closes. Only once no other thread uses the socket. 0, or an error.
  virtual int close() = 0;
};

// Creates a stream socket and connects it to address:port within timeoutMs.
// address is dotted IPv4 text ("10.1.1.200"). Returns the connected socket,
// or null with error set: 10022 for an address that is not dotted IPv4,
// 10061 refused, 10060 no answer in time, 10051 / 10065 unreachable, 10093
// when the socket library was not started (Windows), ...
std::unique_ptr<TcpSocket> connectTcp(const std::string& address, std::uint16_t port,
                                      std::uint32_t timeoutMs, int& error);

}  // namespace platform

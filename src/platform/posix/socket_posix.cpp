// The TCP client socket on BSD sockets, errno spoken as Windows Sockets
// numbers. poll() rather than select(): a descriptor above FD_SETSIZE would
// overrun an fd_set.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/ipv4_text.hpp"
#include "platform/posix/socket_posix.hpp"
#include "platform/socket.hpp"

namespace platform {

int posix::fromSocketErrno(int err) {
  switch (err) {
    case 0: return 0;
    case EINTR: return kWsaInterrupted;
    case EACCES: case EPERM: return kWsaAccessDenied;
    case EFAULT: return 10014;
    case EINVAL: return kWsaInvalidArgument;
    case EMFILE: case ENFILE: return kWsaTooManySockets;
#if EAGAIN != EWOULDBLOCK
    case EWOULDBLOCK:
#endif
    case EAGAIN: return kWsaWouldBlock;
    case EINPROGRESS: return 10036;
    case EALREADY: return 10037;
    case ENOTSOCK: case EBADF: return kWsaNotSocket;
    case EMSGSIZE: return kWsaMessageSize;
    case EAFNOSUPPORT: return kWsaAddressFamily;
    case EADDRINUSE: return kWsaAddressInUse;
    case EADDRNOTAVAIL: return kWsaAddressNotAvailable;
    case ENETDOWN: return kWsaNetworkDown;
    case ENETUNREACH: return kWsaNetworkUnreachable;
    case ENETRESET: return kWsaNetworkReset;
    case ECONNABORTED: return kWsaConnectionAborted;
    // A send to a peer that has gone: Windows reports the reset.
    case ECONNRESET: case EPIPE: return kWsaConnectionReset;
    case ENOBUFS: case ENOMEM: return kWsaNoBuffers;
    case EISCONN: return kWsaAlreadyConnected;
    case ENOTCONN: return kWsaNotConnected;
    case ESHUTDOWN: return kWsaShutDown;
    case ETIMEDOUT: return kWsaTimedOut;
    case ECONNREFUSED: return kWsaConnectionRefused;
    case EHOSTDOWN: return kWsaHostDown;
    case EHOSTUNREACH: return kWsaHostUnreachable;
    default: return 10107;  // "A system call has failed."
  }
}

namespace {

using posix::fromSocketErrno;

int lastError() { return fromSocketErrno(errno); }

class PosixTcpSocket final : public TcpSocket {
 public:
  explicit PosixTcpSocket(int fd) : fd_(fd) {}
  ~PosixTcpSocket() override { (void)close(); }
  PosixTcpSocket(const PosixTcpSocket&) = delete;
  PosixTcpSocket& operator=(const PosixTcpSocket&) = delete;

  int wait(SocketWait what, std::uint32_t timeoutMs) override {
    if (fd_ < 0) return kWsaNotSocket;
    short revents = 0;
    int rc = posix::pollOne(fd_, what == SocketWait::Readable ? POLLIN : POLLOUT, timeoutMs, revents);
    if (rc != 0) return rc;
    if (revents & POLLNVAL) return kWsaNotSocket;
    // Hang-up and errors count as ready: the send or receive that follows
    // reports what happened, as after select() on Windows.
    return 0;
  }

  int send(const void* data, std::size_t size, std::size_t& sent) override {
    sent = 0;
    if (fd_ < 0) return kWsaNotSocket;
    for (;;) {
      ssize_t n = ::send(fd_, data, size, MSG_NOSIGNAL);
      if (n >= 0) {
        sent = static_cast<std::size_t>(n);
        return 0;
      }
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;  // buffer full: nothing taken
      return lastError();
    }
  }

  int receive(void* data, std::size_t size, std::size_t& received) override {
    received = 0;
    if (fd_ < 0) return kWsaNotSocket;
    for (;;) {
      ssize_t n = ::recv(fd_, data, size, 0);
      if (n >= 0) {
        received = static_cast<std::size_t>(n);
        return 0;
      }
      if (errno == EINTR) continue;
      return lastError();
    }
  }

  int shutdownBoth() override {
    if (fd_ < 0) return kWsaNotSocket;
    return ::shutdown(fd_, SHUT_RDWR) == 0 ? 0 : lastError();
  }

  int close() override {
    if (fd_ < 0) return 0;
    int rc = ::close(fd_) == 0 ? 0 : lastError();
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

}  // namespace

int posix::pollOne(int fd, short events, std::uint32_t timeoutMs, short& revents) {
  using Steady = std::chrono::steady_clock;
  const auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now()).count();
    if (left < 0) left = 0;
    pollfd p{fd, events, 0};
    int n = ::poll(&p, 1, static_cast<int>(left));
    if (n > 0) {
      revents = p.revents;
      return 0;
    }
    if (n == 0) return kSocketTimedOut;
    if (errno != EINTR) return fromSocketErrno(errno);
  }
}

std::unique_ptr<TcpSocket> posix::adoptSocket(int fd) { return std::make_unique<PosixTcpSocket>(fd); }

int startSockets() { return 0; }
int cleanupSockets() { return 0; }

std::unique_ptr<TcpSocket> connectTcp(const std::string& address, std::uint16_t port,
                                      std::uint32_t timeoutMs, int& error) {
  std::uint32_t host = 0;
  if (!parseDottedIpv4(address, host)) {
    error = kWsaInvalidArgument;
    return nullptr;
  }
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_TCP);
  if (fd < 0) {
    error = lastError();
    return nullptr;
  }
  auto sock = std::make_unique<PosixTcpSocket>(fd);
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  server.sin_addr.s_addr = htonl(host);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0) {
    if (errno != EINPROGRESS && errno != EINTR) {
      error = lastError();
      return nullptr;
    }
    short revents = 0;
    int rc = posix::pollOne(fd, POLLOUT, timeoutMs, revents);
    if (rc == kSocketTimedOut) {
      error = kWsaTimedOut;
      return nullptr;
    }
    if (rc != 0) {
      error = rc;
      return nullptr;
    }
    int soError = 0;
    socklen_t len = sizeof soError;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0) {
      error = lastError();
      return nullptr;
    }
    if (soError != 0) {
      error = fromSocketErrno(soError);
      return nullptr;
    }
  }
  // File pieces go out at once rather than waiting to fill a segment.
  int one = 1;
  (void)::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  error = 0;
  return sock;
}

}  // namespace platform

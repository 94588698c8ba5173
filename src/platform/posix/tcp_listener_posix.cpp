// The listening socket on BSD sockets. Accepted sockets are non-blocking and
// send at once (TCP_NODELAY), as the client socket does.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/ipv4_text.hpp"
#include "platform/posix/socket_posix.hpp"
#include "platform/tcp_listener.hpp"

namespace platform {
namespace {

using posix::fromSocketErrno;

class PosixTcpListener final : public TcpListener {
 public:
  PosixTcpListener(int fd, std::uint16_t port) : fd_(fd), port_(port) {}
  ~PosixTcpListener() override { (void)close(); }
  PosixTcpListener(const PosixTcpListener&) = delete;
  PosixTcpListener& operator=(const PosixTcpListener&) = delete;

  std::uint16_t port() const override { return port_; }

  int accept(std::uint32_t timeoutMs, std::unique_ptr<TcpSocket>& out, std::string& peer) override {
    out.reset();
    if (fd_ < 0) return kWsaNotSocket;
    using Steady = std::chrono::steady_clock;
    const auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now()).count();
      if (left < 0) left = 0;
      short revents = 0;
      if (int rc = posix::pollOne(fd_, POLLIN, static_cast<std::uint32_t>(left), revents)) return rc;
      sockaddr_in from{};
      socklen_t len = sizeof from;
      int fd = ::accept4(fd_, reinterpret_cast<sockaddr*>(&from), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) {
        // The connection went before it was taken, or a signal came: wait on.
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNABORTED) continue;
        return fromSocketErrno(errno);
      }
      int one = 1;
      (void)::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      peer = ipv4PortText(ntohl(from.sin_addr.s_addr), ntohs(from.sin_port));
      out = posix::adoptSocket(fd);
      return 0;
    }
  }

  int close() override {
    if (fd_ < 0) return 0;
    int rc = ::close(fd_) == 0 ? 0 : fromSocketErrno(errno);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
  std::uint16_t port_;
};

}  // namespace

std::unique_ptr<TcpListener> listenTcp(const std::string& address, std::uint16_t port, int backlog,
                                       int& error) {
  std::uint32_t host = 0;
  if (!parseDottedIpv4(address, host)) {
    error = kWsaInvalidArgument;
    return nullptr;
  }
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_TCP);
  if (fd < 0) {
    error = fromSocketErrno(errno);
    return nullptr;
  }
  // A restarted host takes its port back at once, past the old connections' TIME_WAIT.
  int one = 1;
  (void)::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  local.sin_addr.s_addr = htonl(host);
  socklen_t len = sizeof local;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
      ::listen(fd, backlog > 0 ? backlog : 1) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) != 0) {
    error = fromSocketErrno(errno);
    ::close(fd);
    return nullptr;
  }
  error = 0;
  return std::make_unique<PosixTcpListener>(fd, ntohs(local.sin_port));
}

}  // namespace platform

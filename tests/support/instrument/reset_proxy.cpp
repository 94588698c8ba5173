#include "support/instrument/reset_proxy.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace fleet {

namespace {

void resetAndClose(int fd) {
  linger hard{1, 0};  // close sends RST
  (void)setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  ::close(fd);
}

int connectLoopback(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

ResetProxy::ResetProxy(std::uint16_t targetPort, std::uint64_t maxBudget, std::uint32_t seed)
    : targetPort_(targetPort), maxBudget_(maxBudget), random_(seed) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (listener_ < 0) return;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener_, 512) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    ::close(listener_);
    listener_ = -1;
    return;
  }
  port_ = ntohs(a.sin_port);
  acceptor_ = std::thread([this] { acceptLoop(); });
}

ResetProxy::~ResetProxy() {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  std::lock_guard<std::mutex> guard(lock_);
  for (auto& t : relays_) t.join();
  if (listener_ >= 0) ::close(listener_);
}

void ResetProxy::acceptLoop() {
  while (!stopping_) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    connections_++;
    std::uint64_t budget;
    {
      std::lock_guard<std::mutex> guard(lock_);
      budget = maxBudget_ ? random_() % (maxBudget_ + 1) : 0;
      relays_.emplace_back([this, client, budget] { relay(client, budget); });
    }
  }
}

void ResetProxy::relay(int client, std::uint64_t budget) {
  const int target = connectLoopback(targetPort_);
  if (target < 0) {
    resetAndClose(client);
    return;
  }
  std::uint64_t moved = 0;
  char buffer[4096];
  pollfd p[2] = {{client, POLLIN, 0}, {target, POLLIN, 0}};
  bool reset = false;
  while (!stopping_) {
    if (::poll(p, 2, 100) <= 0) continue;
    bool closed = false;
    for (int i = 0; i < 2 && !closed && !reset; ++i) {
      if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      // Never read past the budget, so the reset falls inside a message.
      std::size_t want = sizeof buffer;
      if (budget - moved < want) want = static_cast<std::size_t>(budget - moved);
      if (want == 0) {
        reset = true;
        break;
      }
      const ssize_t n = ::recv(p[i].fd, buffer, want, 0);
      if (n <= 0) {
        closed = true;
        break;
      }
      const int to = p[1 - i].fd;
      for (ssize_t done = 0; done < n;) {
        const ssize_t w = ::send(to, buffer + done, static_cast<std::size_t>(n - done), MSG_NOSIGNAL);
        if (w <= 0) {
          closed = true;
          break;
        }
        done += w;
      }
      moved += static_cast<std::uint64_t>(n);
    }
    if (closed || reset) break;
  }
  if (reset || stopping_) {
    resets_++;
    resetAndClose(client);
    resetAndClose(target);
  } else {
    ::close(client);
    ::close(target);
  }
}

}  // namespace fleet

#include "support/tcp_peer.hpp"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>

#include "platform/socket.hpp"

namespace testing_support {
namespace {

#ifdef _WIN32
using Native = SOCKET;
constexpr Native kNone = INVALID_SOCKET;
void closeNative(Native s) { ::closesocket(s); }
constexpr int kNoSignal = 0;
#else
using Native = int;
constexpr Native kNone = -1;
constexpr int kNoSignal = MSG_NOSIGNAL;
void closeNative(Native s) { ::close(s); }
#endif

Native native(std::intptr_t s) { return static_cast<Native>(s); }

// Waits up to ms for s to become readable.
bool readableWithin(Native s, int ms) {
#ifdef _WIN32
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{0, ms * 1000};
  return ::select(0, &set, nullptr, nullptr, &tv) > 0;
#else
  pollfd p{s, POLLIN, 0};
  return ::poll(&p, 1, ms) > 0;
#endif
}

Native listenLoopback(std::uint16_t& port) {
  Native s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == kNone) return kNone;
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  at.sin_port = 0;
  socklen_t len = sizeof at;
  if (::bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || ::listen(s, 64) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&at), &len) != 0) {
    closeNative(s);
    return kNone;
  }
  port = ntohs(at.sin_port);
  return s;
}

}  // namespace

PeerConnection::PeerConnection(std::intptr_t socket, const std::atomic<bool>& stopping)
    : socket_(socket), stopping_(stopping) {}

PeerConnection::~PeerConnection() { close(); }

bool PeerConnection::readable() {
  while (!stopping_) {
    if (readableWithin(native(socket_), 20)) return true;
  }
  return false;
}

bool PeerConnection::sendAll(const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0 && socket_ != -1) {
    int n = ::send(native(socket_), p, static_cast<int>(size), kNoSignal);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return size == 0;
}

bool PeerConnection::receiveExactly(void* data, std::size_t size) {
  char* p = static_cast<char*>(data);
  while (size > 0 && socket_ != -1) {
    if (!readable()) return false;
    int n = ::recv(native(socket_), p, static_cast<int>(size), 0);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return size == 0;
}

bool PeerConnection::waitForClose() {
  char buffer[4096];
  while (socket_ != -1) {
    if (!readable()) return false;
    int n = ::recv(native(socket_), buffer, sizeof buffer, 0);
    if (n <= 0) return true;
  }
  return false;
}

void PeerConnection::waitUntilStopped() {
  while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void PeerConnection::close() {
  if (socket_ == -1) return;
  closeNative(native(socket_));
  socket_ = -1;
}

void PeerConnection::reset() {
  if (socket_ == -1) return;
  // A zero linger time makes the close send a reset instead of a FIN.
  linger l{};
  l.l_onoff = 1;
  l.l_linger = 0;
  ::setsockopt(native(socket_), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
  close();
}

TcpPeer::TcpPeer(Handler handler) : handler_(std::move(handler)) {
  (void)platform::startSockets();
  Native s = listenLoopback(port_);
  if (s == kNone) return;
  listener_ = static_cast<std::intptr_t>(s);
  acceptor_ = std::thread(&TcpPeer::acceptLoop, this);
}

TcpPeer::~TcpPeer() {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  {
    std::lock_guard<std::mutex> guard(lock_);
    for (auto& t : handlers_) t.join();
  }
  if (listener_ != -1) closeNative(native(listener_));
  (void)platform::cleanupSockets();
}

void TcpPeer::acceptLoop() {
  while (!stopping_) {
    if (!readableWithin(native(listener_), 20)) continue;
    Native c = ::accept(native(listener_), nullptr, nullptr);
    if (c == kNone) continue;
    ++accepted_;
    std::lock_guard<std::mutex> guard(lock_);
    handlers_.emplace_back([this, c] {
      PeerConnection connection(static_cast<std::intptr_t>(c), stopping_);
      handler_(connection);
      ++handled_;
    });
  }
}

std::uint16_t closedLoopbackPort() {
  (void)platform::startSockets();
  std::uint16_t port = 0;
  Native s = listenLoopback(port);
  if (s != kNone) closeNative(s);
  (void)platform::cleanupSockets();
  return port;
}

}  // namespace testing_support

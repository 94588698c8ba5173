// The TCP client socket on Windows Sockets 2.2: select() waits, a
// non-blocking socket after a connect bounded by select().
#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/ipv4_text.hpp"
#include "platform/socket.hpp"
#include "platform/win32/socket_win32.hpp"

namespace platform {
namespace {

timeval toTimeval(std::uint32_t ms) {
  timeval tv{};
  tv.tv_sec = static_cast<long>(ms / 1000);
  tv.tv_usec = static_cast<long>(ms % 1000) * 1000;
  return tv;
}

class WinTcpSocket final : public TcpSocket {
 public:
  explicit WinTcpSocket(SOCKET s) : s_(s) {}
  ~WinTcpSocket() override { (void)close(); }
  WinTcpSocket(const WinTcpSocket&) = delete;
  WinTcpSocket& operator=(const WinTcpSocket&) = delete;

  int wait(SocketWait what, std::uint32_t timeoutMs) override {
    if (s_ == INVALID_SOCKET) return kWsaNotSocket;
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s_, &set);
    fd_set failed;
    FD_ZERO(&failed);
    FD_SET(s_, &failed);
    timeval tv = toTimeval(timeoutMs);
    int n = what == SocketWait::Readable ? ::select(0, &set, nullptr, &failed, &tv)
                                         : ::select(0, nullptr, &set, &failed, &tv);
    if (n == SOCKET_ERROR) return ::WSAGetLastError();
    if (n == 0) return kSocketTimedOut;
    return 0;  // the send or receive that follows reports a failure
  }

  int send(const void* data, std::size_t size, std::size_t& sent) override {
    sent = 0;
    if (s_ == INVALID_SOCKET) return kWsaNotSocket;
    int chunk = size > 0x40000000u ? 0x40000000 : static_cast<int>(size);
    int n = ::send(s_, static_cast<const char*>(data), chunk, 0);
    if (n == SOCKET_ERROR) {
      int err = ::WSAGetLastError();
      return err == WSAEWOULDBLOCK ? 0 : err;
    }
    sent = static_cast<std::size_t>(n);
    return 0;
  }

  int receive(void* data, std::size_t size, std::size_t& received) override {
    received = 0;
    if (s_ == INVALID_SOCKET) return kWsaNotSocket;
    int chunk = size > 0x40000000u ? 0x40000000 : static_cast<int>(size);
    int n = ::recv(s_, static_cast<char*>(data), chunk, 0);
    if (n == SOCKET_ERROR) return ::WSAGetLastError();
    received = static_cast<std::size_t>(n);
    return 0;
  }

  int shutdownBoth() override {
    if (s_ == INVALID_SOCKET) return kWsaNotSocket;
    return ::shutdown(s_, SD_BOTH) == 0 ? 0 : ::WSAGetLastError();
  }

  int close() override {
    if (s_ == INVALID_SOCKET) return 0;
    int rc = ::closesocket(s_) == 0 ? 0 : ::WSAGetLastError();
    s_ = INVALID_SOCKET;
    return rc;
  }

 private:
  SOCKET s_;
};

}  // namespace

std::unique_ptr<TcpSocket> win32::adoptSocket(std::uintptr_t s) {
  return std::make_unique<WinTcpSocket>(static_cast<SOCKET>(s));
}

int startSockets() {
  WSADATA data{};
  int rc = ::WSAStartup(MAKEWORD(2, 2), &data);
  if (rc != 0) return rc;
  if (LOBYTE(data.wVersion) != 2 || HIBYTE(data.wVersion) != 2) {
    ::WSACleanup();
    return kWsaVersionNotSupported;
  }
  return 0;
}

int cleanupSockets() { return ::WSACleanup() == 0 ? 0 : ::WSAGetLastError(); }

std::unique_ptr<TcpSocket> connectTcp(const std::string& address, std::uint16_t port,
                                      std::uint32_t timeoutMs, int& error) {
  std::uint32_t host = 0;
  if (!parseDottedIpv4(address, host)) {
    error = kWsaInvalidArgument;
    return nullptr;
  }
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    error = ::WSAGetLastError();
    return nullptr;
  }
  auto sock = std::make_unique<WinTcpSocket>(s);
  u_long nonBlocking = 1;
  if (::ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
    error = ::WSAGetLastError();
    return nullptr;
  }
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  server.sin_addr.s_addr = htonl(host);
  if (::connect(s, reinterpret_cast<const sockaddr*>(&server), sizeof server) == SOCKET_ERROR) {
    int err = ::WSAGetLastError();
    if (err != WSAEWOULDBLOCK) {
      error = err;
      return nullptr;
    }
    // Success makes the socket writable; failure puts it in the except set.
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    FD_ZERO(&failed);
    FD_SET(s, &failed);
    timeval tv = toTimeval(timeoutMs);
    int n = ::select(0, nullptr, &writable, &failed, &tv);
    if (n == SOCKET_ERROR) {
      error = ::WSAGetLastError();
      return nullptr;
    }
    if (n == 0) {
      error = kWsaTimedOut;
      return nullptr;
    }
    int soError = 0;
    int len = sizeof soError;
    if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &len) != 0) {
      error = ::WSAGetLastError();
      return nullptr;
    }
    if (soError != 0 || FD_ISSET(s, &failed)) {
      error = soError != 0 ? soError : kWsaConnectionRefused;
      return nullptr;
    }
  }
  BOOL one = TRUE;
  (void)::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
  error = 0;
  return sock;
}

}  // namespace platform

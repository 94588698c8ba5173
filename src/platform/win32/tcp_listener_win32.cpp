// The listening socket on Windows Sockets: select() bounds the wait for a
// connection; accepted sockets are made non-blocking as the client socket is.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/ipv4_text.hpp"
#include "platform/tcp_listener.hpp"
#include "platform/win32/socket_win32.hpp"

namespace platform {
namespace {

class WinTcpListener final : public TcpListener {
 public:
  WinTcpListener(SOCKET s, std::uint16_t port) : s_(s), port_(port) {}
  ~WinTcpListener() override { (void)close(); }
  WinTcpListener(const WinTcpListener&) = delete;
  WinTcpListener& operator=(const WinTcpListener&) = delete;

  std::uint16_t port() const override { return port_; }

  int accept(std::uint32_t timeoutMs, std::unique_ptr<TcpSocket>& out, std::string& peer) override {
    out.reset();
    if (s_ == INVALID_SOCKET) return kWsaNotSocket;
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s_, &set);
    timeval tv{};
    tv.tv_sec = static_cast<long>(timeoutMs / 1000);
    tv.tv_usec = static_cast<long>(timeoutMs % 1000) * 1000;
    int n = ::select(0, &set, nullptr, nullptr, &tv);
    if (n == SOCKET_ERROR) return ::WSAGetLastError();
    if (n == 0) return kSocketTimedOut;
    sockaddr_in from{};
    int len = sizeof from;
    SOCKET s = ::accept(s_, reinterpret_cast<sockaddr*>(&from), &len);
    if (s == INVALID_SOCKET) {
      int err = ::WSAGetLastError();
      return err == WSAEWOULDBLOCK || err == WSAECONNRESET ? kSocketTimedOut : err;
    }
    u_long nonBlocking = 1;
    if (::ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
      int err = ::WSAGetLastError();
      ::closesocket(s);
      return err;
    }
    BOOL one = TRUE;
    (void)::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    peer = ipv4PortText(ntohl(from.sin_addr.s_addr), ntohs(from.sin_port));
    out = win32::adoptSocket(static_cast<std::uintptr_t>(s));
    return 0;
  }

  int close() override {
    if (s_ == INVALID_SOCKET) return 0;
    int rc = ::closesocket(s_) == 0 ? 0 : ::WSAGetLastError();
    s_ = INVALID_SOCKET;
    return rc;
  }

 private:
  SOCKET s_;
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
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    error = ::WSAGetLastError();
    return nullptr;
  }
  // Another program may not take the port from under the host.
  BOOL one = TRUE;
  (void)::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&one), sizeof one);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  local.sin_addr.s_addr = htonl(host);
  int len = sizeof local;
  if (::bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) == SOCKET_ERROR ||
      ::listen(s, backlog > 0 ? backlog : 1) == SOCKET_ERROR ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&local), &len) == SOCKET_ERROR) {
    error = ::WSAGetLastError();
    ::closesocket(s);
    return nullptr;
  }
  error = 0;
  return std::make_unique<WinTcpListener>(s, ntohs(local.sin_port));
}

}  // namespace platform

#pragma once
// A host stand-in for socket tests: listens on 127.0.0.1 at a port the system
// picks and runs a handler for each connection it accepts, each on its own
// thread. Handlers talk plain blocking TCP through PeerConnection.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace testing_support {

class PeerConnection {
 public:
  explicit PeerConnection(std::intptr_t socket, const std::atomic<bool>& stopping);
  ~PeerConnection();
  PeerConnection(const PeerConnection&) = delete;
  PeerConnection& operator=(const PeerConnection&) = delete;

  // Sends all bytes; false when the connection failed.
  bool sendAll(const void* data, std::size_t size);
  // Receives exactly size bytes; false when the connection closed or failed
  // first, or the peer is stopping.
  bool receiveExactly(void* data, std::size_t size);
  // Reads until the other side closes; true when it did (not when stopping).
  bool waitForClose();
  // Does nothing until the peer is stopped (a silent host).
  void waitUntilStopped();
  // Closes the connection in order (the other side reads 0 bytes).
  void close();
  // Drops the connection at once: the other side's next call fails with a reset.
  void reset();

 private:
  // Waits until readable; false when stopping.
  bool readable();
  std::intptr_t socket_;
  const std::atomic<bool>& stopping_;
};

class TcpPeer {
 public:
  using Handler = std::function<void(PeerConnection&)>;
  explicit TcpPeer(Handler handler);
  // Stops accepting, wakes the handlers and joins every thread.
  ~TcpPeer();
  TcpPeer(const TcpPeer&) = delete;
  TcpPeer& operator=(const TcpPeer&) = delete;

  // 0 when the peer could not listen.
  std::uint16_t port() const { return port_; }
  int accepted() const { return accepted_.load(); }
  int handled() const { return handled_.load(); }

 private:
  void acceptLoop();

  Handler handler_;
  std::intptr_t listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  std::atomic<int> handled_{0};
  std::mutex lock_;
  std::vector<std::thread> handlers_;
  std::thread acceptor_;
};

// A port on 127.0.0.1 where nothing listens (bound once, then closed).
std::uint16_t closedLoopbackPort();

}  // namespace testing_support

#pragma once
// The host server: listens, and serves each accepted unit on its own thread,
// at most maxConnections at once; a connection beyond that is accepted and
// closed at once (the unit sees the host close and tries again later).
#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "hostlib/host_log.hpp"
#include "hostlib/host_options.hpp"
#include "hostlib/session_names.hpp"
#include "hostlib/unit_session.hpp"
#include "platform/tcp_listener.hpp"

namespace host {

class HostServer {
 public:
  HostServer(const HostOptions& options, HostLog& log);
  // Stops and joins every connection's thread.
  ~HostServer();
  HostServer(const HostServer&) = delete;
  HostServer& operator=(const HostServer&) = delete;

  // Makes the root's folders, removes partial inbox folders a stopped server
  // left and starts listening. 0, or an error with why saying what failed.
  [[nodiscard]] int start(std::string& why);
  // The port listened on (after start()).
  std::uint16_t port() const { return listener_ ? listener_->port() : 0; }

  // Serves until stop(); with the once option, returns after one session.
  void run();
  // Ends run() and every session; callable from any thread.
  void stop() { stopping_.store(true); }

  int sessionsServed() const { return served_.load(); }
  int sessionsKept() const { return kept_.load(); }

 private:
  struct Worker {
    std::thread thread;
    std::atomic<bool> done{false};
  };

  void serve(platform::TcpSocket& socket, const std::string& peer);
  // Joins the threads that have finished (all: every one, finished or not).
  void reap(bool all);

  HostOptions options_;
  HostLog& log_;
  std::atomic<bool> stopping_{false};
  SessionNamer namer_;
  ActiveUnits units_;
  HostContext context_;
  std::unique_ptr<platform::TcpListener> listener_;
  bool socketsStarted_ = false;
  std::list<Worker> workers_;  // owned by run()'s thread
  std::atomic<int> active_{0};
  std::atomic<int> served_{0};
  std::atomic<int> kept_{0};
};

}  // namespace host

#pragma once
// A TCP relay on 127.0.0.1 that passes each connection on to a target and
// resets both sides (RST, not an orderly close) once a byte budget drawn at
// random for that connection is spent, so connections break at random points
// of a session. POSIX only.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace fleet {

class ResetProxy {
 public:
  // Budgets are drawn uniformly from [0, maxBudget] bytes (both directions
  // counted together); a connection that ends first is not reset.
  ResetProxy(std::uint16_t targetPort, std::uint64_t maxBudget, std::uint32_t seed);
  ~ResetProxy();  // stops accepting, resets what is still open, joins
  ResetProxy(const ResetProxy&) = delete;
  ResetProxy& operator=(const ResetProxy&) = delete;

  std::uint16_t port() const { return port_; }  // 0 when it could not listen
  int connections() const { return connections_.load(); }
  int resets() const { return resets_.load(); }

 private:
  void acceptLoop();
  void relay(int client, std::uint64_t budget);

  std::uint16_t targetPort_;
  std::uint64_t maxBudget_;
  std::mt19937_64 random_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::atomic<int> resets_{0};
  std::mutex lock_;
  std::vector<std::thread> relays_;
  std::thread acceptor_;
};

}  // namespace fleet

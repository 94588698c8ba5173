#include "transfer/link_monitor.hpp"

#include <chrono>
#include <system_error>

#include "transfer/link_errors.hpp"

namespace transfer {
namespace {

std::uint32_t noReply(const std::string&, std::uint32_t) { return 0; }

}  // namespace

LinkMonitor::LinkMonitor(DebugLog& log) : log_(log), probe_(noReply) {}

LinkMonitor::~LinkMonitor() { (void)stop(); }

void LinkMonitor::setProbe(LinkProbe probe) { probe_ = probe ? std::move(probe) : LinkProbe(noReply); }

int LinkMonitor::start(const std::string& address, int periodSeconds, std::uint32_t timeoutMs) {
  (void)stop();
  {
    std::lock_guard<std::mutex> guard(lock_);
    stats_ = MonitorStats{};
    stopRequested_ = false;
    ended_ = false;
  }
  try {
    thread_ = std::thread(&LinkMonitor::run, this, address, periodSeconds < 1 ? 1 : periodSeconds, timeoutMs);
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> guard(lock_);
    ended_ = true;
    return kLinkMonitorNotCreated;
  }
  return kLinkOk;
}

int LinkMonitor::stop(std::uint32_t waitMs) {
  if (!thread_.joinable()) return kLinkOk;
  bool ended;
  {
    std::unique_lock<std::mutex> guard(lock_);
    stopRequested_ = true;
    wake_.notify_all();
    ended = wake_.wait_for(guard, std::chrono::milliseconds(waitMs), [this] { return ended_; });
  }
  // Never left running: it only sleeps between probes and is woken above.
  thread_.join();
  return ended ? kLinkOk : kLinkMonitorNotStopped;
}

MonitorStats LinkMonitor::statistics() const {
  std::lock_guard<std::mutex> guard(lock_);
  return stats_;
}

bool LinkMonitor::running() const {
  std::lock_guard<std::mutex> guard(lock_);
  return !ended_;
}

void LinkMonitor::run(std::string address, int periodSeconds, std::uint32_t timeoutMs) {
  log_.line("Monitor thread running.");
  ProbeRing ring;
  std::unique_lock<std::mutex> guard(lock_);
  while (!stopRequested_) {
    guard.unlock();
    std::uint32_t reply = probe_(address, timeoutMs);
    guard.lock();
    stats_ = ring.record(reply);
    for (int s = 0; s < periodSeconds && !stopRequested_; ++s) {
      wake_.wait_for(guard, std::chrono::seconds(1), [this] { return stopRequested_; });
    }
  }
  ended_ = true;
  wake_.notify_all();
  guard.unlock();
  log_.line("Monitor thread returning.");
}

}  // namespace transfer

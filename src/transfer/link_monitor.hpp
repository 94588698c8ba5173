#pragma once
// The connection monitor: a thread that probes the host once per period and
// keeps reply statistics of the last ten probes. The probe is pluggable; the
// default one sends nothing and counts as no reply, so the statistics show no
// answered probe (run length 0).
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "transfer/debug_log.hpp"
#include "transfer/probe_ring.hpp"

namespace transfer {

// A probe: the reply time for address, or 0 for none within timeoutMs.
using LinkProbe = std::function<std::uint32_t(const std::string& address, std::uint32_t timeoutMs)>;

class LinkMonitor {
 public:
  explicit LinkMonitor(DebugLog& log);
  ~LinkMonitor();  // stops the thread
  LinkMonitor(const LinkMonitor&) = delete;
  LinkMonitor& operator=(const LinkMonitor&) = delete;

  // Before start(); an empty probe restores the default.
  void setProbe(LinkProbe probe);

  // Starts the thread (stopping a running one first) with the statistics at 0;
  // it probes, then waits periodSeconds (at least 1), re-checking the stop
  // request each second. 0, or kLinkMonitorNotCreated.
  [[nodiscard]] int start(const std::string& address, int periodSeconds, std::uint32_t timeoutMs);

  // Asks the thread to stop and waits up to waitMs for its end. 0 (also when
  // none runs), or kLinkMonitorNotStopped; the thread is joined either way.
  [[nodiscard]] int stop(std::uint32_t waitMs = 5000);

  MonitorStats statistics() const;
  bool running() const;

 private:
  void run(std::string address, int periodSeconds, std::uint32_t timeoutMs);

  DebugLog& log_;
  LinkProbe probe_;
  mutable std::mutex lock_;
  std::condition_variable wake_;
  bool stopRequested_ = false;
  bool ended_ = true;
  MonitorStats stats_;
  std::thread thread_;
};

}  // namespace transfer

#pragma once
// The host link: one TCP connection to the host program, on which this
// program is the client. A socket thread carries out one send or receive
// request at a time; the caller queues a request and polls its state every
// 10 ms. Every link is its own object with its own thread, socket, monitor and
// debug log, so several links may run in one process.
//
// Every operation returns a link error (link_errors.hpp): 0 for success, or a
// link code, or a Windows Sockets error. The operations carry the names the
// session's messages show: HHN_SendData, HHN_ReceiveData, HHN_StartPingThread,
// HHN_Shutdown and HHN_Disconnect.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/socket.hpp"
#include "transfer/debug_log.hpp"
#include "transfer/link_monitor.hpp"

namespace transfer {

// Request states.
inline constexpr int kRequestIdle = 0;
inline constexpr int kRequestSendPending = 1;
inline constexpr int kRequestReceivePending = 2;
inline constexpr int kRequestFailed = 3;

// How long the socket thread waits for the socket to become ready (and a
// connect for its answer) before the request fails with 10060.
inline constexpr std::uint32_t kLinkWaitMs = 15000;

class HostLink {
 public:
  HostLink();
  // Disconnects, stops the monitor and ends a socket-library start.
  ~HostLink();
  HostLink(const HostLink&) = delete;
  HostLink& operator=(const HostLink&) = delete;

  // Settings, before connect() (a new wait time-out applies from the next wait).
  void setWaitTimeoutMs(std::uint32_t ms) { waitMs_ = ms; }
  std::uint32_t waitTimeoutMs() const { return waitMs_; }
  // Empty (the default) switches the debug log off.
  void setDebugLogPath(std::string path) { log_.setPath(std::move(path)); }
  DebugLog& debugLog() { return log_; }
  // The monitor's probe (link_monitor.hpp); before HHN_StartPingThread.
  void setProbe(LinkProbe probe) { monitor_.setProbe(std::move(probe)); }

  // Starts the socket library. 0, or kLinkStartFailed (the monitor is then stopped).
  [[nodiscard]] int startSockets();

  // Connects to the dotted IPv4 address and port and starts the socket
  // thread; a connection still open is disconnected first. 0 when connected;
  // otherwise the Windows Sockets error (10061 refused, 10060 no answer within
  // the wait time-out, 10051 / 10065 unreachable, 10022 an address that is not
  // dotted IPv4 or a port above 65535, 10049 port 0), with no socket and no thread.
  [[nodiscard]] int connect(const std::string& address, int port);

  // HHN_SendData: queues a send of length bytes from buffer, which the caller
  // keeps alive until the request is idle or failed. 0 when queued (a length
  // of 0 is done at once, state idle); kLinkNotConnected with no connection;
  // kLinkRequestPending while a request is pending (nothing changes);
  // 10022 for a null buffer with a length.
  [[nodiscard]] int sendData(const void* buffer, std::uint32_t length);
  // HHN_ReceiveData: the same for receiving length bytes into buffer.
  [[nodiscard]] int receiveData(void* buffer, std::uint32_t length);

  // The request state (kRequestIdle ... kRequestFailed) and the bytes moved.
  int requestStatus(std::uint32_t& progress) const;
  // requestStatus after waiting up to ms for a pending request to end: the
  // caller's poll, woken as soon as the request is done.
  int waitRequest(std::uint32_t ms, std::uint32_t& progress);
  // The Windows Sockets error of the last failed request: 10060 when a wait
  // timed out; 10101 when the host closed the connection (a receive got 0
  // bytes); 10053 when the request was abandoned by a disconnect.
  int lastError() const;

  bool connected() const;
  // True while the socket thread exists (between connect and disconnect).
  bool threadRunning() const { return thread_.joinable(); }

  // HHN_Disconnect: stops the socket thread (wakes it and joins it) and
  // closes the socket. Always 0.
  [[nodiscard]] int disconnect();

  // HHN_StartPingThread: starts the connection monitor. 0, or kLinkMonitorNotCreated.
  [[nodiscard]] int startPingThread(const std::string& address, int periodSeconds, std::uint32_t timeoutMs);
  // The monitor's statistics (0s until its first probe).
  MonitorStats monitorStatistics() const { return monitor_.statistics(); }

  // HHN_Shutdown: stops the monitor (kLinkMonitorNotStopped when it did not end
  // within 5000 ms) and ends the socket-library start (kLinkCleanupFailed).
  // 0 when both went well; the first failure otherwise.
  [[nodiscard]] int shutdown();

 private:
  struct Request {
    int state = kRequestIdle;
    const void* sendBuffer = nullptr;
    void* receiveBuffer = nullptr;
    std::uint32_t length = 0;
    std::uint32_t progress = 0;
  };
  enum class Ready { Yes, TimedOut, Failed, Stopping };

  [[nodiscard]] int queue(int state, const void* sendBuffer, void* receiveBuffer, std::uint32_t length);
  void socketThread();
  Ready waitReady(platform::SocketWait what, int& error);
  // waitReady with its outcome recorded: a time-out or a failed wait fails the
  // request and logs (the failed wait with waitFailedLine, "%d" its error).
  // True when the socket is ready.
  bool readyFor(platform::SocketWait what, const char* waitFailedLine);
  void passSend(const Request& r);
  void passReceive(const Request& r);
  void fail(int error);
  void finishPass();
  bool waitFinished(std::uint32_t ms);

  DebugLog log_;
  LinkMonitor monitor_{log_};
  std::atomic<std::uint32_t> waitMs_{kLinkWaitMs};  // read by the socket thread
  int socketStarts_ = 0;

  // Guards the request, the state word, the last error and the flags below;
  // the socket thread does its I/O outside it.
  mutable std::mutex lock_;
  std::condition_variable wake_;
  Request request_;
  int lastError_ = 0;
  bool finished_ = false;
  std::atomic<bool> run_{true};

  // Set and cleared by the caller's thread only; the socket thread uses the
  // socket while it runs, and it is closed only after that thread is joined.
  std::unique_ptr<platform::TcpSocket> socket_;
  std::thread thread_;
};

}  // namespace transfer

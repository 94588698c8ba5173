#include "transfer/link.hpp"

#include <chrono>
#include <cstdint>
#include <system_error>

#include "transfer/link_errors.hpp"

namespace transfer {
namespace {

// The socket thread waits in slices this long, so a disconnect is noticed at
// once even where shutting the socket does not end a wait.
constexpr std::uint32_t kWaitSliceMs = 50;
// Disconnect checks the thread this often, this many times, before and after
// shutting its socket.
constexpr std::uint32_t kDeathCheckMs = 500;
constexpr int kDeathChecks = 5;

}  // namespace

HostLink::HostLink() = default;

HostLink::~HostLink() {
  (void)disconnect();
  (void)monitor_.stop();
  while (socketStarts_ > 0) {
    (void)platform::cleanupSockets();
    --socketStarts_;
  }
}

int HostLink::startSockets() {
  if (platform::startSockets() != 0) {
    (void)monitor_.stop();
    return kLinkStartFailed;
  }
  ++socketStarts_;
  return kLinkOk;
}

int HostLink::connect(const std::string& address, int port) {
  if (thread_.joinable() || socket_) (void)disconnect();
  {
    std::lock_guard<std::mutex> guard(lock_);
    run_ = true;
    finished_ = false;
    request_ = Request{};
  }
  if (port < 0 || port > 65535) return platform::kWsaInvalidArgument;
  if (port == 0) return platform::kWsaAddressNotAvailable;
  int error = 0;
  socket_ = platform::connectTcp(address, static_cast<std::uint16_t>(port), waitMs_, error);
  if (!socket_) {
    log_.linef("Connect to %.64s:%d failed: %d", address.c_str(), port, error);
    return error;
  }
  try {
    thread_ = std::thread(&HostLink::socketThread, this);
  } catch (const std::system_error&) {
    (void)socket_->close();
    socket_.reset();
    return platform::kWsaNoBuffers;
  }
  return kLinkOk;
}

int HostLink::sendData(const void* buffer, std::uint32_t length) {
  return queue(kRequestSendPending, buffer, nullptr, length);
}

int HostLink::receiveData(void* buffer, std::uint32_t length) {
  return queue(kRequestReceivePending, nullptr, buffer, length);
}

int HostLink::queue(int state, const void* sendBuffer, void* receiveBuffer, std::uint32_t length) {
  if (!socket_ || !thread_.joinable()) return kLinkNotConnected;
  if (length > 0 && sendBuffer == nullptr && receiveBuffer == nullptr) return platform::kWsaInvalidArgument;
  std::lock_guard<std::mutex> guard(lock_);
  // A new request must not take the place of one the thread is working on:
  // the thread would move bytes of the old buffer under the new counts.
  if (request_.state == kRequestSendPending || request_.state == kRequestReceivePending) {
    return kLinkRequestPending;
  }
  request_ = Request{length == 0 ? kRequestIdle : state, sendBuffer, receiveBuffer, length, 0};
  wake_.notify_all();
  return kLinkOk;
}

int HostLink::requestStatus(std::uint32_t& progress) const {
  std::lock_guard<std::mutex> guard(lock_);
  progress = request_.progress;
  return request_.state;
}

int HostLink::waitRequest(std::uint32_t ms, std::uint32_t& progress) {
  std::unique_lock<std::mutex> guard(lock_);
  wake_.wait_for(guard, std::chrono::milliseconds(ms), [this] {
    return request_.state != kRequestSendPending && request_.state != kRequestReceivePending;
  });
  progress = request_.progress;
  return request_.state;
}

int HostLink::lastError() const {
  std::lock_guard<std::mutex> guard(lock_);
  return lastError_;
}

bool HostLink::connected() const { return socket_ != nullptr; }

HostLink::Ready HostLink::waitReady(platform::SocketWait what, int& error) {
  std::uint32_t left = waitMs_;
  for (;;) {
    if (!run_) return Ready::Stopping;
    std::uint32_t slice = left < kWaitSliceMs ? left : kWaitSliceMs;
    int rc = socket_->wait(what, slice);
    if (!run_) return Ready::Stopping;
    if (rc == 0) return Ready::Yes;
    if (rc != platform::kSocketTimedOut) {
      error = rc;
      return Ready::Failed;
    }
    left -= slice;
    if (left == 0) return Ready::TimedOut;
  }
}

void HostLink::fail(int error) {
  std::lock_guard<std::mutex> guard(lock_);
  request_.state = kRequestFailed;
  lastError_ = error;
  wake_.notify_all();
}

bool HostLink::readyFor(platform::SocketWait what, const char* waitFailedLine) {
  int error = 0;
  switch (waitReady(what, error)) {
    case Ready::Stopping:
      return false;
    case Ready::TimedOut:
      fail(platform::kWsaTimedOut);
      log_.line("Timeout expired.");
      return false;
    case Ready::Failed:
      fail(error);
      log_.linef(waitFailedLine, error);
      return false;
    case Ready::Yes:
      break;
  }
  return true;
}

void HostLink::passSend(const Request& r) {
  if (!readyFor(platform::SocketWait::Writable, "s1: %d")) return;
  const auto* from = static_cast<const std::uint8_t*>(r.sendBuffer) + r.progress;
  const std::uint32_t remaining = r.length - r.progress;
  log_.linef("send(%u bytes) from $%llx", remaining,
             static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(from)));
  std::size_t sent = 0;
  int rc = socket_->send(from, remaining, sent);
  log_.linef("Queued %u bytes, WSAGetLastError = %d", static_cast<unsigned>(sent), rc);
  if (rc != 0) {
    fail(rc);
    log_.linef("s2: %d", rc);
    return;
  }
  std::lock_guard<std::mutex> guard(lock_);
  request_.progress += static_cast<std::uint32_t>(sent);
}

void HostLink::passReceive(const Request& r) {
  if (!readyFor(platform::SocketWait::Readable, "r1: %d")) return;
  auto* into = static_cast<std::uint8_t*>(r.receiveBuffer) + r.progress;
  std::size_t received = 0;
  int rc = socket_->receive(into, r.length - r.progress, received);
  if (rc == platform::kWsaWouldBlock) return;  // woken with nothing there: wait again
  log_.linef("Received %u bytes", static_cast<unsigned>(received));
  if (rc == 0 && received == 0) {
    // The host closed the connection: the request can never complete.
    fail(platform::kWsaDisconnected);
    log_.linef("r2: %d", platform::kWsaDisconnected);
    return;
  }
  if (rc != 0) {
    fail(rc);
    log_.linef("r2: %d", rc);
    return;
  }
  std::lock_guard<std::mutex> guard(lock_);
  request_.progress += static_cast<std::uint32_t>(received);
}

void HostLink::finishPass() {
  std::unique_lock<std::mutex> guard(lock_);
  if (request_.state != kRequestSendPending && request_.state != kRequestReceivePending) {
    guard.unlock();
    log_.line("thread not going idle");
    return;
  }
  if (request_.progress < request_.length) {
    guard.unlock();
    log_.line("thread not going idle");
    return;
  }
  const bool sending = request_.state == kRequestSendPending;
  request_.state = kRequestIdle;
  wake_.notify_all();
  guard.unlock();
  log_.line(sending ? "send portion of thread going idle" : "receive portion of thread going idle");
}

void HostLink::socketThread() {
  log_.line("Socket thread running.");
  while (run_) {
    Request r;
    {
      std::unique_lock<std::mutex> guard(lock_);
      if (request_.state != kRequestSendPending && request_.state != kRequestReceivePending) {
        // Woken at once by a new request or a disconnect.
        wake_.wait_for(guard, std::chrono::milliseconds(10), [this] {
          return !run_ || request_.state == kRequestSendPending || request_.state == kRequestReceivePending;
        });
        continue;
      }
      r = request_;
    }
    if (r.state == kRequestSendPending) {
      passSend(r);
    } else {
      passReceive(r);
    }
    if (!run_) break;
    finishPass();
  }
  log_.line("Socket thread returning.");
  std::lock_guard<std::mutex> guard(lock_);
  // A request still pending when told to stop will never complete.
  if (request_.state == kRequestSendPending || request_.state == kRequestReceivePending) {
    if (request_.progress >= request_.length) {
      request_.state = kRequestIdle;
    } else {
      request_.state = kRequestFailed;
      lastError_ = platform::kWsaConnectionAborted;
    }
  }
  finished_ = true;
  wake_.notify_all();
}

bool HostLink::waitFinished(std::uint32_t ms) {
  std::unique_lock<std::mutex> guard(lock_);
  return wake_.wait_for(guard, std::chrono::milliseconds(ms), [this] { return finished_; });
}

int HostLink::disconnect() {
  log_.line("Disconnecting.");
  if (thread_.joinable()) {
    log_.line("Telling thread to die.");
    {
      std::lock_guard<std::mutex> guard(lock_);
      run_ = false;
      wake_.notify_all();
    }
    bool dead = waitFinished(0);
    for (int i = 0; !dead && i < kDeathChecks; ++i) dead = waitFinished(kDeathCheckMs);
    if (!dead) {
      log_.line("Thread not dead.");
      if (socket_) {
        log_.line("Closing its socket...");
        (void)socket_->shutdownBoth();  // wakes a wait or a transfer in progress
      }
      for (int i = 0; !dead && i < kDeathChecks; ++i) dead = waitFinished(kDeathCheckMs);
      if (!dead) log_.line("Thread still running after its socket was shut; waiting for it to end.");
    }
    thread_.join();
    if (dead) log_.line("Thread dead.");
    else log_.line("Thread ended.");
  }
  if (socket_) {
    (void)socket_->shutdownBoth();
    (void)socket_->close();
    socket_.reset();
  }
  return kLinkOk;
}

int HostLink::startPingThread(const std::string& address, int periodSeconds, std::uint32_t timeoutMs) {
  return monitor_.start(address, periodSeconds, timeoutMs);
}

int HostLink::shutdown() {
  int result = monitor_.stop(5000);
  if (socketStarts_ > 0) {
    --socketStarts_;
    if (platform::cleanupSockets() != 0 && result == kLinkOk) result = kLinkCleanupFailed;
  }
  return result;
}

}  // namespace transfer

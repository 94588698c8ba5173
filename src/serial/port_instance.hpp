#pragma once
// One port instance of the layer's fixed pool and the state its reader thread
// shares with the callers. The shared part (PortChannel) is held by the
// reader through a shared_ptr: a reader that does not stop in time (its
// device call hangs) is left to end on its own and still owns the device and
// everything else it touches, while the instance is free for the next open.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/serial.hpp"
#include "serial/message_store.hpp"
#include "serial/port_layer.hpp"

namespace serial {

// The code a write that ran out of time is reported with (the system's
// "operation timed out").
inline constexpr int kWriteTimeoutCode = 1460;
// Received bytes terminal mode keeps until takeTerminalBytes (the newest win).
inline constexpr std::size_t kTerminalLimit = 4096;

struct PortChannel {
  PortChannel(int portNumber, std::unique_ptr<platform::SerialDevice> dev, std::uint8_t term)
      : port(portNumber), device(std::move(dev)), terminator(term) {}

  const int port;
  // Made before the reader starts and never replaced: the reader uses it
  // without the lock.
  const std::unique_ptr<platform::SerialDevice> device;
  const std::uint8_t terminator;

  std::atomic<bool> stop{false};
  // Receive purges so far; the reader throws away the line it was assembling
  // when this moves.
  std::atomic<unsigned> purgeCount{0};

  mutable std::mutex lock;  // guards everything below
  std::condition_variable wake;  // stop requested, reader ended
  bool ended = false;
  MessageStore store;
  std::string sendQueue;
  std::size_t sending = 0;  // bytes the reader took from the queue and is writing
  std::string errorText;
  int errorNumber = 0;
  bool terminalMode = false;
  std::string terminalBytes;

  void requestStop();
  // Waits (real time) until ms passed or a stop is requested: true when
  // stopping. The reader's pause between failing reads.
  bool pauseUnlessStopped(std::chrono::milliseconds ms);
  void markEnded();
  // True when the reader ended within ms (real time).
  bool waitEnded(std::chrono::milliseconds ms);

  // Records "<what> error:<code>." as the last failure.
  void recordError(std::string_view what, int code);
  void recordErrorText(const std::string& text, int code);
  // Takes what is queued for sending (counted as being sent until sendDone).
  std::string takeSend();
  // The write of what takeSend gave ended with result (a device write
  // result): a failure is recorded as a write error; either way nothing is
  // pending any more.
  void sendDone(int result);
  // Hands received bytes to terminal mode; false when terminal mode is off
  // (the caller assembles lines instead).
  bool offerTerminalByte(std::uint8_t byte);
  std::size_t pendingSend() const;
};

class PortInstance {
 public:
  explicit PortInstance(int instanceClass) : class_(instanceClass) {}
  ~PortInstance();
  PortInstance(const PortInstance&) = delete;
  PortInstance& operator=(const PortInstance&) = delete;

  int instanceClass() const { return class_; }
  bool isFree() const { return !channel_; }
  // The port this instance serves (meaningless while free).
  int port() const { return channel_ ? channel_->port : -1; }
  PortChannel* channel() const { return channel_.get(); }

  // Starts the reader over device: the line reader, or routine when given
  // (the GPS reader). False when the thread could not be made; the device is
  // then closed and the instance stays free.
  [[nodiscard]] bool start(int port, std::unique_ptr<platform::SerialDevice> device, std::uint8_t terminator,
                           const ReaderRoutine& routine);
  // Asks the reader to stop without waiting (closeAll asks all first).
  void requestStop();
  // Stops the reader: waits up to waitLimit (real time) for it to end and
  // joins it, or leaves it to end on its own. The instance is free after.
  void stop(std::chrono::milliseconds waitLimit);

 private:
  int class_;
  std::shared_ptr<PortChannel> channel_;
  std::thread thread_;
};

// The general reader: lines into the store, the send queue to the device,
// terminal bytes while terminal mode is on; until the stop flag is set.
void runLineReader(PortChannel& channel);

}  // namespace serial

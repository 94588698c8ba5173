#include "serial/port_instance.hpp"

#include <system_error>

namespace serial {

void PortChannel::requestStop() {
  {
    std::lock_guard<std::mutex> g(lock);
    stop = true;
  }
  wake.notify_all();
}

bool PortChannel::pauseUnlessStopped(std::chrono::milliseconds ms) {
  std::unique_lock<std::mutex> g(lock);
  return wake.wait_for(g, ms, [&] { return stop.load(); });
}

void PortChannel::markEnded() {
  {
    std::lock_guard<std::mutex> g(lock);
    ended = true;
  }
  wake.notify_all();
}

bool PortChannel::waitEnded(std::chrono::milliseconds ms) {
  std::unique_lock<std::mutex> g(lock);
  return wake.wait_for(g, ms, [&] { return ended; });
}

void PortChannel::recordError(std::string_view what, int code) {
  recordErrorText(std::string(what) + " error:" + std::to_string(code) + ".", code);
}

void PortChannel::recordErrorText(const std::string& text, int code) {
  std::lock_guard<std::mutex> g(lock);
  errorText = text;
  errorNumber = code;
}

std::string PortChannel::takeSend() {
  std::lock_guard<std::mutex> g(lock);
  std::string out;
  out.swap(sendQueue);
  sending += out.size();
  return out;
}

void PortChannel::sendDone(int result) {
  if (result != platform::kSerialOk) {
    // What did not go out in time is dropped and said so, never counted as sent.
    recordError("WriteStr()", result == platform::kSerialTimeout ? kWriteTimeoutCode : result);
  }
  std::lock_guard<std::mutex> g(lock);
  sending = 0;
}

bool PortChannel::offerTerminalByte(std::uint8_t byte) {
  std::lock_guard<std::mutex> g(lock);
  if (!terminalMode) return false;
  if (terminalBytes.size() >= kTerminalLimit) terminalBytes.erase(0, terminalBytes.size() - kTerminalLimit + 1);
  terminalBytes.push_back(static_cast<char>(byte));
  return true;
}

std::size_t PortChannel::pendingSend() const {
  std::lock_guard<std::mutex> g(lock);
  return sendQueue.size() + sending;
}

namespace {

// What the GPS reader routine sees of its instance.
class ChannelContext : public ReaderContext {
 public:
  explicit ChannelContext(PortChannel& channel) : channel_(channel) {}
  platform::SerialDevice& device() override { return *channel_.device; }
  bool stopRequested() const override { return channel_.stop.load(); }
  std::string takeSend() override { return channel_.takeSend(); }
  void sendDone(int result) override { channel_.sendDone(result); }
  void recordError(const std::string& text, int code) override { channel_.recordErrorText(text, code); }

 private:
  PortChannel& channel_;
};

}  // namespace

PortInstance::~PortInstance() {
  if (channel_) stop(std::chrono::milliseconds(1000));
}

bool PortInstance::start(int port, std::unique_ptr<platform::SerialDevice> device, std::uint8_t terminator,
                         const ReaderRoutine& routine) {
  auto channel = std::make_shared<PortChannel>(port, std::move(device), terminator);
  try {
    // The thread holds its own reference: it may outlive this instance's use of it.
    thread_ = std::thread([channel, routine] {
      if (routine) {
        ChannelContext context(*channel);
        routine(context);
      } else {
        runLineReader(*channel);
      }
      channel->markEnded();
    });
  } catch (const std::system_error&) {
    return false;
  }
  channel_ = std::move(channel);
  return true;
}

void PortInstance::requestStop() {
  if (channel_) channel_->requestStop();
}

void PortInstance::stop(std::chrono::milliseconds waitLimit) {
  if (!channel_) return;
  channel_->requestStop();
  if (channel_->waitEnded(waitLimit)) {
    thread_.join();
  } else {
    // Never killed: a thread killed inside a device call can leave its locks
    // held and its memory half written. It ends when the call returns.
    thread_.detach();
  }
  channel_.reset();
}

}  // namespace serial

#include "support/fake_serial.hpp"

#include <chrono>

#include "platform/errors.hpp"

namespace testsupport {

void FakeSerialLine::feed(std::string_view bytes) {
  {
    std::lock_guard<std::mutex> g(lock_);
    incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
  }
  changed_.notify_all();
}

std::string FakeSerialLine::sent() const {
  std::lock_guard<std::mutex> g(lock_);
  return sent_;
}

std::string FakeSerialLine::takeSent() {
  std::lock_guard<std::mutex> g(lock_);
  std::string s;
  s.swap(sent_);
  return s;
}

bool FakeSerialLine::waitForSent(std::string_view text, int timeoutMs) {
  std::unique_lock<std::mutex> g(lock_);
  return changed_.wait_for(g, std::chrono::milliseconds(timeoutMs),
                           [&] { return sent_.find(text) != std::string::npos; });
}

bool FakeSerialLine::waitUntilConsumed(int timeoutMs) {
  std::unique_lock<std::mutex> g(lock_);
  return changed_.wait_for(g, std::chrono::milliseconds(timeoutMs),
                           [&] { return incoming_.empty() && readerWaiting_; });
}

long FakeSerialLine::reads() const {
  std::lock_guard<std::mutex> g(lock_);
  return reads_;
}

void FakeSerialLine::failReads(int code) {
  std::lock_guard<std::mutex> g(lock_);
  readError_ = code;
}

void FakeSerialLine::stallWrites(bool on) {
  std::lock_guard<std::mutex> g(lock_);
  stallWrites_ = on;
}

void FakeSerialLine::hang(bool on) {
  {
    std::lock_guard<std::mutex> g(lock_);
    hang_ = on;
  }
  changed_.notify_all();
}

void FakeSerialLine::release() { hang(false); }

platform::SerialSettings FakeSerialLine::settings() const {
  std::lock_guard<std::mutex> g(lock_);
  return settings_;
}
bool FakeSerialLine::dtr() const {
  std::lock_guard<std::mutex> g(lock_);
  return dtr_;
}
bool FakeSerialLine::rts() const {
  std::lock_guard<std::mutex> g(lock_);
  return rts_;
}
int FakeSerialLine::purges() const {
  std::lock_guard<std::mutex> g(lock_);
  return purges_;
}
bool FakeSerialLine::closed() const {
  std::lock_guard<std::mutex> g(lock_);
  return closed_;
}

class FakeSerialDevice : public platform::SerialDevice {
 public:
  explicit FakeSerialDevice(std::shared_ptr<FakeSerialLine> line) : line_(std::move(line)) {
    std::lock_guard<std::mutex> g(line_->lock_);
    line_->closed_ = false;
  }
  ~FakeSerialDevice() override {
    {
      std::lock_guard<std::mutex> g(line_->lock_);
      line_->closed_ = true;
    }
    line_->changed_.notify_all();
  }

  int configure(const platform::SerialSettings& settings) override {
    std::lock_guard<std::mutex> g(line_->lock_);
    line_->settings_ = settings;
    return platform::kOk;
  }

  int readByte(std::uint8_t& out, std::uint32_t timeoutMs) override {
    std::unique_lock<std::mutex> g(line_->lock_);
    // A hung device ignores the time-out until the test releases it.
    line_->changed_.wait(g, [&] { return !line_->hang_; });
    ++line_->reads_;
    if (line_->readError_ != 0) return line_->readError_;
    if (line_->incoming_.empty()) {
      line_->readerWaiting_ = true;
      line_->changed_.notify_all();
      line_->changed_.wait_for(g, std::chrono::milliseconds(timeoutMs),
                               [&] { return !line_->incoming_.empty() || line_->hang_; });
      line_->readerWaiting_ = false;
    }
    if (line_->incoming_.empty()) return platform::kSerialTimeout;
    out = line_->incoming_.front();
    line_->incoming_.pop_front();
    return platform::kSerialOk;
  }

  int write(const void* data, std::size_t size, std::uint32_t timeoutMs, std::size_t& written) override {
    (void)timeoutMs;
    std::lock_guard<std::mutex> g(line_->lock_);
    if (line_->stallWrites_) {
      written = 0;
      return platform::kSerialTimeout;
    }
    line_->sent_.append(static_cast<const char*>(data), size);
    written = size;
    line_->changed_.notify_all();
    return platform::kSerialOk;
  }

  void purge() override {
    std::lock_guard<std::mutex> g(line_->lock_);
    line_->incoming_.clear();
    ++line_->purges_;
  }
  std::size_t bytesPending() override {
    std::lock_guard<std::mutex> g(line_->lock_);
    return line_->incoming_.size();
  }
  void setDtr(bool on) override {
    std::lock_guard<std::mutex> g(line_->lock_);
    line_->dtr_ = on;
  }
  void setRts(bool on) override {
    std::lock_guard<std::mutex> g(line_->lock_);
    line_->rts_ = on;
  }

 private:
  std::shared_ptr<FakeSerialLine> line_;
};

std::unique_ptr<platform::SerialDevice> makeFakeSerialDevice(std::shared_ptr<FakeSerialLine> line) {
  return std::make_unique<FakeSerialDevice>(std::move(line));
}

std::shared_ptr<FakeSerialLine> FakeSerialPorts::line(int port) {
  std::lock_guard<std::mutex> g(lock_);
  Port& p = ports_[port];
  if (!p.line) p.line = std::make_shared<FakeSerialLine>();
  return p.line;
}

void FakeSerialPorts::notReady(int port, int times) {
  std::lock_guard<std::mutex> g(lock_);
  ports_[port].notReady = times;
}

void FakeSerialPorts::refuse(int port, int code) {
  std::lock_guard<std::mutex> g(lock_);
  ports_[port].refuse = code;
}

int FakeSerialPorts::opens(int port) const {
  std::lock_guard<std::mutex> g(lock_);
  return ports_[port].opens;
}

platform::SerialOpener FakeSerialPorts::opener() {
  return [this](int port, int& error) -> std::unique_ptr<platform::SerialDevice> {
    std::lock_guard<std::mutex> g(lock_);
    error = platform::kErrFileNotFound;
    if (port < 0 || port > 30) return nullptr;
    Port& p = ports_[port];
    ++p.opens;
    if (p.refuse != 0) {
      error = p.refuse;
      return nullptr;
    }
    if (p.notReady > 0) {
      --p.notReady;
      error = platform::kErrNotReady;
      return nullptr;
    }
    if (!p.line) return nullptr;
    error = platform::kOk;
    return makeFakeSerialDevice(p.line);
  };
}

}  // namespace testsupport

#pragma once
// A serial device without hardware: the test feeds the bytes it "receives"
// and reads back what it was sent. Thread-safe: the port layer's reader
// thread reads and writes it while the test feeds it.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/serial.hpp"

namespace testsupport {

class FakeSerialLine {
 public:
  // Bytes the device will hand to readByte, in order.
  void feed(std::string_view bytes);
  // Everything written to the device so far (and, with take, forgets it).
  std::string sent() const;
  std::string takeSent();
  // Waits (real time, at most timeoutMs) until sent() holds text; false on time-out.
  bool waitForSent(std::string_view text, int timeoutMs = 2000);
  // Waits (real time, at most timeoutMs) until every fed byte was read and
  // the reader is back waiting for more, so it has handled them all; false
  // on time-out.
  bool waitUntilConsumed(int timeoutMs = 5000);
  // readByte calls so far.
  long reads() const;

  // Failures: the next reads fail with code (0: none); writes time out
  // without sending; readByte blocks until release() (a reader that hangs).
  void failReads(int code);
  void stallWrites(bool on);
  void hang(bool on);
  void release();

  platform::SerialSettings settings() const;
  bool dtr() const;
  bool rts() const;
  int purges() const;
  bool closed() const;  // the device object was destroyed

 private:
  friend class FakeSerialDevice;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::deque<std::uint8_t> incoming_;
  std::string sent_;
  int readError_ = 0;
  bool stallWrites_ = false, hang_ = false, dtr_ = false, rts_ = false, closed_ = false;
  bool readerWaiting_ = false;  // a readByte call waits on an empty line
  long reads_ = 0;
  int purges_ = 0;
  platform::SerialSettings settings_;
};

// A device over line (which must outlive it).
std::unique_ptr<platform::SerialDevice> makeFakeSerialDevice(std::shared_ptr<FakeSerialLine> line);

// An opener for the port layer: port n opens lines[n] when the test made one
// (see line()), else fails with "file not found"; notReadyTimes answers
// "not ready" that many times first.
class FakeSerialPorts {
 public:
  std::shared_ptr<FakeSerialLine> line(int port);
  void notReady(int port, int times);
  // Opening port fails with code every time.
  void refuse(int port, int code);
  int opens(int port) const;
  platform::SerialOpener opener();

 private:
  struct Port {
    std::shared_ptr<FakeSerialLine> line;
    int notReady = 0, refuse = 0, opens = 0;
  };
  mutable std::mutex lock_;
  Port ports_[31];
};

}  // namespace testsupport

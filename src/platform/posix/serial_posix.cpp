// A tty as the program's serial device: raw termios, non-blocking reads and
// writes paced by poll().
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/errors.hpp"
#include "platform/posix/errno_map.hpp"
#include "platform/posix/serial_baud_linux.hpp"
#include "platform/posix/serial_termios.hpp"
#include "platform/serial.hpp"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until deadline, never negative.
int remainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// A revents value that says the device is gone: the other end of a
// pseudo-terminal closed, or a USB adapter was pulled.
int hangupCode(short revents) {
  if (revents & POLLNVAL) return kErrInvalidHandle;
  if (revents & (POLLHUP | POLLERR)) return kErrIoDevice;
  return kOk;
}

class PosixSerialDevice final : public SerialDevice {
 public:
  explicit PosixSerialDevice(int fd) : fd_(fd) {}
  ~PosixSerialDevice() override {
    // The exclusive flag outlives the descriptor on a pseudo-terminal whose
    // other end stays open; clear it so the port can be opened again.
    (void)ioctl(fd_, TIOCNXCL);
    ::close(fd_);
  }
  PosixSerialDevice(const PosixSerialDevice&) = delete;
  PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

  int configure(const SerialSettings& s) override {
    termios tio{};
    if (tcgetattr(fd_, &tio) != 0) return posix::fromErrno(errno);
    bool custom = false;
    int rc = posix::applyLineSettings(tio, s, custom);
    if (rc != kOk) return rc;
    if (tcsetattr(fd_, TCSANOW, &tio) != 0) return posix::fromErrno(errno);
    if (custom) {
      int err = posix::setCustomBaud(fd_, s.baud);
      if (err != 0) return err == ENOTSUP ? kErrNotSupported : posix::fromErrno(err);
    }
    return kOk;
  }

  int readByte(std::uint8_t& out, std::uint32_t timeoutMs) override {
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    bool readable = false;  // poll said a byte was there
    for (;;) {
      ssize_t n = ::read(fd_, &out, 1);
      if (n == 1) return kSerialOk;
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return posix::fromErrno(errno);
      // End of file right after poll said readable: the line hung up.
      if (n == 0 && readable) return kErrIoDevice;

      pollfd p{fd_, POLLIN, 0};
      int r = ::poll(&p, 1, remainingMs(deadline));
      if (r < 0) {
        if (errno == EINTR) continue;
        return posix::fromErrno(errno);
      }
      if (r == 0) return kSerialTimeout;
      if (!(p.revents & POLLIN)) {
        int code = hangupCode(p.revents);
        if (code != kOk) return code;
      }
      readable = true;
    }
  }

  int write(const void* data, std::size_t size, std::uint32_t timeoutMs,
            std::size_t& written) override {
    written = 0;
    auto bytes = static_cast<const std::uint8_t*>(data);
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (written < size) {
      ssize_t n = ::write(fd_, bytes + written, size - written);
      if (n > 0) {
        written += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return posix::fromErrno(errno);

      pollfd p{fd_, POLLOUT, 0};
      int r = ::poll(&p, 1, remainingMs(deadline));
      if (r < 0) {
        if (errno == EINTR) continue;
        return posix::fromErrno(errno);
      }
      if (r == 0) return kSerialTimeout;
      int code = hangupCode(p.revents);
      if (code != kOk) return code;
    }
    return kSerialOk;
  }

  void purge() override { (void)tcflush(fd_, TCIOFLUSH); }

  std::size_t bytesPending() override {
    int n = 0;
    if (ioctl(fd_, FIONREAD, &n) != 0 || n < 0) return 0;
    return static_cast<std::size_t>(n);
  }

  // Pseudo-terminals have no modem lines (ENOTTY/EINVAL): nothing to do there.
  void setDtr(bool on) override { setLine(TIOCM_DTR, on); }
  void setRts(bool on) override { setLine(TIOCM_RTS, on); }

 private:
  void setLine(int bit, bool on) { (void)ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit); }

  int fd_;
};

// The code an open failure reports, in the terms the port layer's retry
// rule and messages use.
int openErrorCode(int err) {
  switch (err) {
    case EBUSY: case EWOULDBLOCK: case EACCES: case EPERM: return kErrAccessDenied;
    // The node is there but no driver answers yet (a USB adapter settling).
    case ENXIO: case ENODEV: return kErrNotReady;
    // An on-board port name without a UART behind it: no such port.
    case EIO: return kErrFileNotFound;
    default: return posix::fromErrno(err);
  }
}

}  // namespace

std::unique_ptr<SerialDevice> openSerialDevice(const std::string& path, int& error) {
  error = kOk;
  if (path.empty()) {
    error = kErrFileNotFound;
    return nullptr;
  }
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = openErrorCode(errno);
    return nullptr;
  }
  if (!isatty(fd)) {
    ::close(fd);
    error = kErrNotSupported;
    return nullptr;
  }
  // TIOCEXCL keeps other programs out, but not a privileged one; the lock
  // keeps out every program that locks too (and a second open of our own).
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
    error = openErrorCode(errno);
    ::close(fd);
    return nullptr;
  }
  // Raw from the start, so nothing arriving before configure is translated.
  termios tio{};
  if (tcgetattr(fd, &tio) == 0) {
    posix::makeRawTermios(tio);
    (void)tcsetattr(fd, TCSANOW, &tio);
  }
  return std::make_unique<PosixSerialDevice>(fd);
}

}  // namespace platform

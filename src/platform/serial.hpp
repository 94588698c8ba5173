#pragma once
// Serial devices: a COM port (Windows) or a tty (POSIX) opened by name with
// one line configuration, read a byte at a time with a time-out and written
// with a time-out. The port layer (serial/) builds its reader threads on
// this; tests use a fake device (tests/support/fake_serial.hpp) or a
// pseudo-terminal pair.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// Flow-control kinds as applications number them.
inline constexpr int kFlowNone = 0;
inline constexpr int kFlowXonXoff = 1;
inline constexpr int kFlowRtsCts = 2;
inline constexpr int kFlowDtrDsr = 3;
inline constexpr int kFlowBoth = 4;  // RTS/CTS and DTR/DSR

struct SerialSettings {
  std::uint32_t baud = 9600;  // any rate the device takes, standard or not
  char parity = 'N';          // 'N', 'E', 'O', 'M', 'S'
  int dataBits = 8;           // 4-8 (the port layer clamps)
  int stopBits = 1;           // 1 or 2
  int flow = kFlowNone;       // 0-4; any other value: none
};

// Results of the read and write calls.
inline constexpr int kSerialOk = 0;
inline constexpr int kSerialTimeout = -1;  // nothing arrived / not all sent in time
// Any positive result is a system error code (errors.hpp).

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // Applies the line configuration (after open: raw 8-bit, no echo, no
  // translation of CR or LF). 0, or an error code; the device stays open.
  [[nodiscard]] virtual int configure(const SerialSettings& settings) = 0;

  // Waits up to timeoutMs (0: does not wait) for one byte. kSerialOk with
  // out set, kSerialTimeout when none came, or an error code (the device was
  // unplugged, the other end of a pseudo-terminal closed, ...).
  [[nodiscard]] virtual int readByte(std::uint8_t& out, std::uint32_t timeoutMs) = 0;

  // Writes size bytes, waiting at most timeoutMs in all. written is how many
  // went out. kSerialOk when all did, kSerialTimeout when the time ran out
  // first, or an error code.
  [[nodiscard]] virtual int write(const void* data, std::size_t size, std::uint32_t timeoutMs,
                                  std::size_t& written) = 0;

  // Throws away what is received and not yet read, and what is queued to be
  // sent and not yet sent.
  virtual void purge() = 0;
  // Bytes received and not yet read (0 when unknown).
  virtual std::size_t bytesPending() = 0;
  // The modem control lines.
  virtual void setDtr(bool on) = 0;
  virtual void setRts(bool on) = 0;
};

// The name the port layer opens COM port n by: "COM%d:" for 0-9 and
// "\\.\COM%d" for 10-30, on every platform (the name is also what messages show).
std::string comPortName(int port);

// Where COM port n is on this system. Windows: the port name itself. POSIX:
// the registry value "Ports\COM<n>" under the program's key (for example
// "/dev/ttyUSB0"), else "/dev/ttyS<n-1>" (port 0 has no default: empty).
std::string comDevicePath(int port);

// Opens the device at path (comDevicePath) for reading and writing, not
// shared (POSIX: TIOCEXCL), not becoming the controlling terminal. Returns
// the device, or null with error set: kErrNotReady (21) when the device
// exists but is not ready yet (the caller retries), kErrFileNotFound when
// there is no such device, kErrAccessDenied when another program holds it.
std::unique_ptr<SerialDevice> openSerialDevice(const std::string& path, int& error);

// How the port layer opens devices; tests replace it with a fake.
using SerialOpener = std::function<std::unique_ptr<SerialDevice>(int port, int& error)>;
// comDevicePath then openSerialDevice.
SerialOpener nativeSerialOpener();

}  // namespace platform

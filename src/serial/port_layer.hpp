#pragma once
// The serial port layer: the table of open ports (COM 0-30) over a fixed
// pool of seven port instances (six general ones and the GPS one), each with
// its own reader thread. The general reader assembles received bytes into
// lines and keeps the last ones in a store of five slots; callers poll for
// them (readMessage), queue text that the reader sends (queueSend), and
// close the port. Everything but the reader threads runs on the UI thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/serial.hpp"

namespace ui {
class Host;
class KeyQueue;
}  // namespace ui

namespace serial {

inline constexpr int kHighestPort = 30;        // port numbers 0-30
inline constexpr int kGeneralInstances = 6;
inline constexpr int kClassGeneral = 0;
inline constexpr int kClassGps = -1;
inline constexpr std::size_t kMessageSlots = 5;
inline constexpr std::size_t kMessageText = 196;   // characters of a line a slot keeps
inline constexpr std::size_t kLineLimit = 1020;    // a longer line is thrown away
inline constexpr std::size_t kSendLimit = 1022;    // bytes one queueSend takes
inline constexpr int kDefaultTerminator = 13;

class PortInstance;

// What a reader routine other than the line reader (the GPS reader) may use
// of its instance. It runs on the instance's thread until stopRequested().
class ReaderContext {
 public:
  virtual ~ReaderContext() = default;
  virtual platform::SerialDevice& device() = 0;
  virtual bool stopRequested() const = 0;
  // Takes what callers queued for sending (empty when nothing waits); the
  // routine writes it and reports with sendDone.
  virtual std::string takeSend() = 0;
  virtual void sendDone(int result) = 0;
  // Records a read or write failure in the instance's error text.
  virtual void recordError(const std::string& text, int code) = 0;
};
using ReaderRoutine = std::function<void(ReaderContext&)>;

class PortLayer {
 public:
  // Devices are opened through opener (platform::nativeSerialOpener() in the
  // program, a fake in tests). The seven instances are made here.
  explicit PortLayer(platform::SerialOpener opener);
  // Closes every open port (stopping and joining its reader).
  ~PortLayer();
  PortLayer(const PortLayer&) = delete;
  PortLayer& operator=(const PortLayer&) = delete;

  // Where open and close failures are shown: through the engine's message
  // prompt while host has the edit window open, else in a message box.
  // Null: not shown (tests of the layer alone).
  void setHost(ui::Host* host);

  // Opens and configures port (0-30) and starts its reader: 1 on success, 0
  // on failure (the failure has been shown). A baud rate of 0, a port out of
  // range, a port already open, no free instance of the class, the device not
  // opening (retried 10 times, 100 ms apart, while it is not ready) all fail.
  // Parity: 'E', 'O', 'M', 'S', anything else none; data bits clamped to 4-8;
  // stop bits 2 when 2, else 1; flow 0-4. A terminator below 1 (or above
  // 255) stands for 13. A port already open is not opened twice: the open
  // fails with "Com%d Already Open" (callers that want to share a port check
  // isOpen first).
  // instanceClass kClassGps takes the GPS instance (its reader is the routine
  // set by setGpsReader).
  [[nodiscard]] int Port_Open(int port, std::uint32_t baud, char parity, int dataBits, int stopBits,
                              int terminator, int flow, int instanceClass);
  // Stops the port's reader (cooperatively; waits up to 1000 ms, then leaves
  // a reader that hangs in the device to end on its own, never killing it)
  // and closes the port: 1, or 0 when the port was not open.
  int closePort(int port);
  // Closes every open port (shutdown).
  void closeAll();
  // Closes every open port but the GPS receiver's (the edit window's end:
  // the sensors and programs are done, the receiver keeps running).
  void closeGeneral();
  bool isOpen(int port) const;

  // Waits up to timeoutMs (0: looks once; measured on platform::clock()) for
  // a received line and puts the oldest stored one, at most maxLength
  // characters of it, in out (the rest of that line is dropped): returns
  // its length, or 0 when none came in time, the port is not open, or
  // abortKeys (when given) has a key waiting. With purge the unread input
  // and the stored lines are thrown away first.
  int readMessage(int port, std::string& out, std::size_t maxLength, std::uint32_t timeoutMs, bool purge,
                  const ui::KeyQueue* abortKeys);
  void purgeReceive(int port);
  void purgeSend(int port);
  // Queues text (up to its first zero byte) for the reader to send. At most
  // 1022 bytes wait at a time, counting what is queued and what is being
  // written: text beyond that room is dropped. Returns the bytes queued (0
  // when the port is not open or there is no room). Output a write cannot
  // get out within 1500 ms is dropped and recorded as "WriteStr() error:1460."
  int queueSend(int port, std::string_view text);
  // Bytes still waiting to be sent.
  int pendingSend(int port) const;

  // The last read or write failure of the port ("ReadFile() error:%d.", ...)
  // and its number; empty and 0 when none.
  std::string lastError(int port) const;
  int lastErrorNumber(int port) const;

  // Terminal mode: while on, the reader does not assemble lines but hands
  // every received byte to takeTerminalBytes (at most 4096 kept: the newest);
  // queued text is still sent. Turning it on forgets bytes from before.
  // Returns false when the port is not open.
  bool setTerminalMode(int port, bool on);
  std::string takeTerminalBytes(int port);

  // The routine the GPS instance runs as its reader from the next
  // Port_Open with kClassGps.
  void setGpsReader(ReaderRoutine routine);

 private:
  PortInstance* instanceOf(int port) const;
  void closeWhere(bool withGps);

  platform::SerialOpener opener_;
  ui::Host* host_ = nullptr;
  std::unique_ptr<PortInstance> instances_[kGeneralInstances + 1];
  PortInstance* table_[kHighestPort + 1] = {};
  ReaderRoutine gpsReader_;
};

}  // namespace serial

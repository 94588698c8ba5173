// A COM port as the program's serial device: a synchronous handle whose
// COMMTIMEOUTS give each read and write its time-out.
#include <windows.h>

#include <mutex>

#include "platform/errors.hpp"
#include "platform/serial.hpp"
#include "platform/win32/wide.hpp"

namespace platform {
namespace {

class Win32SerialDevice final : public SerialDevice {
 public:
  explicit Win32SerialDevice(HANDLE h) : h_(h) {
    // What the port layer's reads and writes start from: return at once,
    // writes bounded; each call sets its own values below.
    timeouts_.ReadIntervalTimeout = MAXDWORD;
    timeouts_.WriteTotalTimeoutConstant = 1;
    applied_ = SetCommTimeouts(h_, &timeouts_) != 0;
  }
  ~Win32SerialDevice() override { CloseHandle(h_); }
  Win32SerialDevice(const Win32SerialDevice&) = delete;
  Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

  int configure(const SerialSettings& s) override {
    if (s.baud == 0) return kErrInvalidParameter;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(h_, &dcb)) return win32::lastError();
    dcb.BaudRate = s.baud;
    dcb.fBinary = TRUE;
    dcb.fParity = TRUE;
    dcb.ByteSize = static_cast<BYTE>(s.dataBits < 4 ? 4 : (s.dataBits > 8 ? 8 : s.dataBits));
    dcb.StopBits = s.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    switch (s.parity) {
      case 'E': dcb.Parity = EVENPARITY; break;
      case 'O': dcb.Parity = ODDPARITY; break;
      case 'M': dcb.Parity = MARKPARITY; break;
      case 'S': dcb.Parity = SPACEPARITY; break;
      default: dcb.Parity = NOPARITY; break;
    }
    // Everything off first, so a reconfigured port keeps nothing of the last kind.
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    bool rtsCts = s.flow == kFlowRtsCts || s.flow == kFlowBoth;
    bool dtrDsr = s.flow == kFlowDtrDsr || s.flow == kFlowBoth;
    if (s.flow == kFlowXonXoff) {
      dcb.fOutX = TRUE;
      dcb.fInX = TRUE;
    }
    if (rtsCts) {
      dcb.fOutxCtsFlow = TRUE;
      dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    }
    if (dtrDsr) {
      dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
      dcb.fDsrSensitivity = TRUE;
      dcb.fOutxDsrFlow = TRUE;
    }
    if (!SetCommState(h_, &dcb)) return win32::lastError();
    return kOk;
  }

  int readByte(std::uint8_t& out, std::uint32_t timeoutMs) override {
    COMMTIMEOUTS t = current();
    if (timeoutMs == 0) {
      // Interval MAXDWORD with zero total: hand over what is there, or nothing.
      t.ReadIntervalTimeout = MAXDWORD;
      t.ReadTotalTimeoutConstant = 0;
    } else {
      t.ReadIntervalTimeout = 0;
      t.ReadTotalTimeoutConstant = timeoutMs;
    }
    t.ReadTotalTimeoutMultiplier = 0;
    if (int rc = use(t); rc != kOk) return rc;
    DWORD got = 0;
    if (!ReadFile(h_, &out, 1, &got, nullptr)) return win32::lastError();
    return got == 1 ? kSerialOk : kSerialTimeout;
  }

  int write(const void* data, std::size_t size, std::uint32_t timeoutMs,
            std::size_t& written) override {
    written = 0;
    auto bytes = static_cast<const std::uint8_t*>(data);
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (written < size) {
      ULONGLONG now = GetTickCount64();
      if (now >= deadline && written > 0) return kSerialTimeout;
      COMMTIMEOUTS t = current();
      t.WriteTotalTimeoutMultiplier = 0;
      // A total of 0 would mean "no time-out": at least 1 ms.
      DWORD left = now >= deadline ? 1 : static_cast<DWORD>(deadline - now);
      t.WriteTotalTimeoutConstant = left;
      if (int rc = use(t); rc != kOk) return rc;
      DWORD chunk = size - written > 0x10000 ? 0x10000 : static_cast<DWORD>(size - written);
      DWORD sent = 0;
      if (!WriteFile(h_, bytes + written, chunk, &sent, nullptr)) return win32::lastError();
      written += sent;
      // A short write is the driver's time-out running out.
      if (sent < chunk) return written == size ? kSerialOk : kSerialTimeout;
    }
    return kSerialOk;
  }

  void purge() override {
    PurgeComm(h_, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
  }

  std::size_t bytesPending() override {
    DWORD errors = 0;
    COMSTAT stat{};
    if (!ClearCommError(h_, &errors, &stat)) return 0;
    return stat.cbInQue;
  }

  // A port without modem lines refuses these; nothing depends on them.
  void setDtr(bool on) override { EscapeCommFunction(h_, on ? SETDTR : CLRDTR); }
  void setRts(bool on) override { EscapeCommFunction(h_, on ? SETRTS : CLRRTS); }

 private:
  COMMTIMEOUTS current() {
    std::lock_guard<std::mutex> hold(lock_);
    return timeouts_;
  }
  // Sets the time-outs when they differ from those the port already has.
  int use(const COMMTIMEOUTS& t) {
    std::lock_guard<std::mutex> hold(lock_);
    if (applied_ && t.ReadIntervalTimeout == timeouts_.ReadIntervalTimeout &&
        t.ReadTotalTimeoutMultiplier == timeouts_.ReadTotalTimeoutMultiplier &&
        t.ReadTotalTimeoutConstant == timeouts_.ReadTotalTimeoutConstant &&
        t.WriteTotalTimeoutMultiplier == timeouts_.WriteTotalTimeoutMultiplier &&
        t.WriteTotalTimeoutConstant == timeouts_.WriteTotalTimeoutConstant)
      return kOk;
    COMMTIMEOUTS copy = t;
    if (!SetCommTimeouts(h_, &copy)) {
      applied_ = false;
      return win32::lastError();
    }
    timeouts_ = t;
    applied_ = true;
    return kOk;
  }

  HANDLE h_;
  std::mutex lock_;  // guards timeouts_ and applied_
  COMMTIMEOUTS timeouts_{};
  bool applied_ = false;
};

}  // namespace

std::unique_ptr<SerialDevice> openSerialDevice(const std::string& path, int& error) {
  error = kOk;
  if (path.empty()) {
    error = kErrFileNotFound;
    return nullptr;
  }
  HANDLE h = CreateFileW(win32::toUtf16(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = win32::lastError();
    return nullptr;
  }
  // Queue sizes are advice to the driver; one that ignores them still works.
  (void)SetupComm(h, 2048, 1024);
  PurgeComm(h, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
  return std::make_unique<Win32SerialDevice>(h);
}

}  // namespace platform

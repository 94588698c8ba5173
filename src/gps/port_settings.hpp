#pragma once
// "GPS_Port.dft": the 4756-byte image of the GPS port instance — the port,
// its line settings, the receiver protocol and the detection time-out. Our
// offsets, fixed once here and described field by field in docs/settings.md.
// The run-time fields (lock, handles, running and stop flags) are never taken
// from the file: reading keeps their current values, writing stores the
// handles as invalid.
#include <cstdint>
#include <string>

#include "base/fixed_record.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr const char* kPortFileName = "GPS_Port.dft";
inline constexpr int kProtocolTsip = 0, kProtocolNmea = 1;
inline constexpr std::uint32_t kDefaultLineFlags = 0x1093;  // binary, parity check, DTR on, TX-continue, RTS on
inline constexpr std::int32_t kDefaultDetectionTimeout = 5000;  // ms

class GpsPortImage : public base::FixedRecord<4756> {
 public:
  // Run-time fields (kept from memory on reading; handles written as -1).
  static constexpr std::size_t kLock = 0, kLockSize = 40;
  static constexpr std::size_t kHandle = 40, kThreadHandle = 48;  // 64-bit each
  static constexpr std::size_t kRunning = 56, kStopRequested = 60;
  static constexpr std::size_t kRunTimeEnd = 64;
  // Settings.
  static constexpr std::size_t kPortName = 64, kPortNameSize = 16;  // "COM2:"
  static constexpr std::size_t kPortNumber = 80, kBaud = 84;        // 32-bit
  static constexpr std::size_t kByteSize = 88, kParityIndex = 89, kStopBitsIndex = 90;  // 8-bit; stop 0 = one
  static constexpr std::size_t kLineFlags = 92;                       // 32-bit flag word
  static constexpr std::size_t kProtocolName = 96, kProtocolNameSize = 8;  // "NMEA" / "TSIP"
  static constexpr std::size_t kProtocolIndex = 104, kDetectionTimeout = 108;
  static constexpr std::size_t kLastSentenceTick = 112, kDetected = 116;
  // Receiver buffers: 5 sentence slots of 200 bytes, the sentence buffer
  // (1024) and the read ring (768); cleared whenever the file is written.
  static constexpr std::size_t kSentenceQueue = 128, kSentenceQueueSize = 5 * 200;
  static constexpr std::size_t kSentenceBuffer = 1128, kSentenceBufferSize = 1024;
  static constexpr std::size_t kReadRing = 2152, kReadRingSize = 768;
  static constexpr std::size_t kBuffersEnd = 2920;  // the rest is carried as it is

  GpsPortImage() { setDefaults(); }

  // Port "COM2:", 9600 baud, 8 data bits, no parity, one stop bit, "NMEA",
  // time-out 5000 ms, flag word 0x1093, not detected.
  void setDefaults() {
    setPortName("COM2:");
    setPortNumber(2);
    setBaud(9600);
    setU8(kByteSize, 8);
    setU8(kParityIndex, 0);
    setU8(kStopBitsIndex, 0);
    setU32(kLineFlags, kDefaultLineFlags);
    setProtocol(kProtocolNmea);
    setDetectionTimeout(kDefaultDetectionTimeout);
    setDetected(false);
  }

  std::string portName() const { return text8(kPortName, kPortNameSize); }
  void setPortName(const std::string& name) { setText8(kPortName, kPortNameSize, name); }
  int portNumber() const { return i32(kPortNumber); }
  void setPortNumber(int n) { setI32(kPortNumber, n); }
  std::uint32_t baud() const { return u32(kBaud); }
  void setBaud(std::uint32_t b) { setU32(kBaud, b); }
  int byteSize() const { return u8(kByteSize); }
  // 0 none, 1 odd, 2 even, 3 mark, 4 space.
  int parityIndex() const { return u8(kParityIndex); }
  void setParityIndex(int p) { setU8(kParityIndex, static_cast<std::uint8_t>(p)); }
  // The parity letter the port layer takes: 'N', 'O', 'E', 'M', 'S'.
  char parityLetter() const {
    static constexpr char kLetters[] = {'N', 'O', 'E', 'M', 'S'};
    const int p = parityIndex();
    return p >= 0 && p < 5 ? kLetters[p] : 'N';
  }
  std::uint32_t lineFlags() const { return u32(kLineFlags); }
  void setLineFlags(std::uint32_t f) { setU32(kLineFlags, f); }
  std::string protocolName() const { return text8(kProtocolName, kProtocolNameSize); }
  int protocolIndex() const { return i32(kProtocolIndex); }
  // Sets the index and its name together ("TSIP" 0, "NMEA" 1).
  void setProtocol(int index) {
    setI32(kProtocolIndex, index == kProtocolTsip ? kProtocolTsip : kProtocolNmea);
    setText8(kProtocolName, kProtocolNameSize, index == kProtocolTsip ? "TSIP" : "NMEA");
  }
  std::int32_t detectionTimeout() const { return i32(kDetectionTimeout); }
  void setDetectionTimeout(std::int32_t ms) { setI32(kDetectionTimeout, ms); }
  bool detected() const { return i32(kDetected) != 0; }
  void setDetected(bool on) { setI32(kDetected, on ? 1 : 0); }
};

// Reads GPS_Port.dft into image, keeping image's run-time fields. A missing
// file: defaults, and the file is written. A file that cannot be opened or
// read whole: "Can't Open GPS_Port.dft for Read", "GPS Read DFT Failed",
// "GPS Read DFT Size Failed" (top-most, empty caption) and defaults. Returns
// 1 when read as it stood, 0 when defaults are in force, -1 when the file was
// missing (defaults in force, written).
int readGpsPort(ui::Host& host, const std::string& installRoot, GpsPortImage& image, char sep);
// Writes image with its buffers cleared and its handles stored as invalid
// (image itself keeps its run-time fields): 1, or 0 after the failure was
// reported ("Can't Open GPS_Port.dft for Write", "GPS Put DFT Write
// Failed", "GPS Put DFT Write Size Failed"; a partial file is deleted).
int writeGpsPort(ui::Host& host, const std::string& installRoot, GpsPortImage& image, char sep);

}  // namespace gps

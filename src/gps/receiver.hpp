#pragma once
// The GPS receiver on the GPS port instance: connecting and disconnecting,
// the reader routine that keeps the position state, the silence warning and
// the reconnect, the sounds and setting the PC clock from GPS time.
// Everything here but the reader runs on the UI thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "gps/gps_state.hpp"
#include "gps/port_settings.hpp"

namespace ui { class Host; }
namespace platform { class ClockSetter; }
namespace serial {
class PortLayer;
class ReaderContext;
}  // namespace serial

namespace gps {

inline constexpr const char* kActiveSound = "GPS_Active.wav";
inline constexpr const char* kInactiveSound = "GPS_InActive.wav";
inline constexpr const char* kNotDetectedText = "Warning ! GPS  Not Detected!!!";
inline constexpr const char* kReconnectText = "*** Attempting to ReConnect ! ***";
inline constexpr const char* kPortOpenFailedText = "Port Open Failed";

struct ReceiverServices {
  ui::Host* host = nullptr;  // messages, and post() from the reader thread
  std::string installRoot;   // the settings folder: GPS_Port.dft, GPS_Parms.dft, the sounds
  char sep = '\\';
  // Sets the PC clock from GPS time; null: the clock is never set.
  platform::ClockSetter* clockSetter = nullptr;
  // Plays a sound file by path (platform::playSoundFile when empty).
  std::function<void(const std::string&)> playSound;
  // Called on the reader thread when the status changed (at most every
  // 750 ms); may be empty. It must only post to the UI thread.
  std::function<void()> statusChanged;
  bool landscape = true;  // the screen is wider than it is high
};

// What the reader routine shares with the receiver (and outlives it while
// a reader that hangs in its device ends on its own).
struct ReaderShared;

class Receiver {
 public:
  Receiver(serial::PortLayer& ports, ReceiverServices services);
  // Disconnects.
  ~Receiver();
  Receiver(const Receiver&) = delete;
  Receiver& operator=(const Receiver&) = delete;

  // Reads GPS_Port.dft and GPS_Parms.dft and opens the GPS port with the
  // reader: 1 when GPS is enabled. A missing GPS_Port.dft (written now with
  // the defaults) or a port that does not open gives "Port Open Failed"
  // (top-most, empty caption) and 0; GPS stays disabled.
  int connectGps();
  // Closes the GPS port; GPS is disabled and not active.
  void disconnectGps();
  // The port is open and its reader runs.
  bool enabled() const;
  // Sentences or packets are arriving.
  bool detected() const;

  GpsState& state();
  const GpsState& state() const;
  // The port settings read at the last connect (or defaults).
  const GpsPortImage& portSettings() const { return port_; }
  // Reads GPS_Parms.dft again into the position state (after a settings
  // dialog changed it) and remakes the texts in the new units and formats.
  void reloadParms();
  // After new port settings: the sentence-received flags cleared, the
  // position not valid, its texts cleared.
  void resetState();
  // A line about setting the PC clock from GPS time when it was refused
  // (said once per run), else empty.
  std::string clockNote() const;

  // What a reader that gave up on a silent receiver posts to the UI thread:
  // closes the port and opens it again (no message when it does not open:
  // the status says the receiver is not there).
  void reconnectNow();

 private:
  int openGpsPort(bool quiet);

  serial::PortLayer& ports_;
  ReceiverServices services_;
  std::shared_ptr<ReaderShared> shared_;
  GpsPortImage port_;
  int openPort_ = -1;  // the COM port the GPS instance holds, -1 when closed
};

}  // namespace gps

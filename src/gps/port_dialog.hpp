#pragma once
// "GPS Comm Port Settings": the port, its line settings and the receiver
// protocol of GPS_Port.dft.
#include <cstdint>
#include <string>

#include "gps/port_settings.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kPortDialog = 251;
inline constexpr int kPortList = 2511, kBaudList = 2512, kParityList = 2513, kFlowList = 2514,
                     kProtocolList = 2515;

// The line-control flag bits the dialog changes (the Win32 DCB meanings).
inline constexpr std::uint32_t kFlowCtsOut = 0x4;        // fOutxCtsFlow
inline constexpr std::uint32_t kFlowXonXoffOut = 0x100;  // fOutX
inline constexpr std::uint32_t kFlowXonXoffIn = 0x200;   // fInX
inline constexpr std::uint32_t kRtsControlMask = 0x3000; // fRtsControl, two bits
inline constexpr std::uint32_t kRtsOn = 0x1000;          // RTS_CONTROL_ENABLE
inline constexpr std::uint32_t kRtsHandshake = 0x2000;   // RTS_CONTROL_HANDSHAKE

enum FlowControl : int { kFlowNone = 0, kFlowRtsCts = 1, kFlowXonXoff = 2 };

// The flag word for a flow choice, rebuilt from the default 0x1093.
std::uint32_t lineFlagsFor(int flow);
// The flow choice a flag word stands for.
int flowOf(std::uint32_t lineFlags);

// Reads GPS_Port.dft into image (its run-time fields kept) and shows the
// dialog. OK: port name and the number inside it, baud, parity, the flag word
// of the flow choice, the protocol (index 1 when its name begins "NMEA"),
// 8 data bits, one stop bit, not detected; image takes them and
// GPS_Port.dft is written; returns 1. Resetting the receiver state for the
// new port is the caller's. Cancel: image is left as it was; returns 0.
int portSettingsDialog(ui::Host& host, const std::string& installRoot, char sep, GpsPortImage& image);

}  // namespace gps

#pragma once
// TSIP input: DLE-framed binary packets (DLE id data DLE ETX, a doubled DLE
// in the data standing for one), and the handlers of the packets that
// carry position, time, velocity, satellites and health.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gps/gps_state.hpp"

namespace gps {

inline constexpr std::uint8_t kDle = 0x10, kEtx = 0x03;
inline constexpr std::size_t kTsipBufferLimit = 1219;  // assembly restarts when full

class TsipAssembler {
 public:
  // True when byte completed a packet; id() and data() hold it until the next feed.
  bool feed(std::uint8_t byte);
  std::uint8_t id() const { return id_; }
  const std::vector<std::uint8_t>& data() const { return data_; }
  void reset();

 private:
  enum class State { Idle, AfterDle, InPacket, InPacketDle } state_ = State::Idle;
  std::vector<std::uint8_t> building_, data_;
  std::uint8_t id_ = 0;
};

// Handles one packet on d (under the GPS lock). A packet shorter than its
// id requires is dropped (effects.handled false). After 0x46, 0x4A, 0x5A and
// 0x84 effects.reply holds the I/O options packet.
DecodeEffects handleTsipPacket(GpsData& d, std::uint8_t id, const std::vector<std::uint8_t>& data,
                               const DecodeInput& in);

// DLE 0x35 0x32 0x02 0x01 0x00 DLE ETX.
std::string tsipIoOptionsPacket();

// Frames id and data as a packet (doubling DLE bytes): for tests, the
// benchmark and anyone who talks TSIP to a receiver.
std::string tsipFrame(std::uint8_t id, const std::vector<std::uint8_t>& data);

}  // namespace gps
